#pragma once

// One macro marks everything the library exports; the rest stays hidden.
#if defined(_WIN32)
#  if defined(QMX_CONSTRUINDO)
#    define QMX_API __declspec(dllexport)
#  else
#    define QMX_API __declspec(dllimport)
#  endif
#else
#  define QMX_API __attribute__((visibility("default")))
#endif

// The one-byte boolean of the exported functions (nonzero = true).
typedef unsigned char QMX_BOOL;
