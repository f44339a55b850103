# What both mingw-w64 toolchains share, once CMAKE_SYSTEM_PROCESSOR and
# QMX_MINGW_PREFIXO are set: the posix threading model's compilers (which
# std::thread and std::mutex need), the resource compiler, and the target's
# own libraries and headers only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QMX_MINGW_PREFIXO}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QMX_MINGW_PREFIXO}-g++-posix)
set(CMAKE_RC_COMPILER ${QMX_MINGW_PREFIXO}-windres)
set(CMAKE_OBJDUMP ${QMX_MINGW_PREFIXO}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${QMX_MINGW_PREFIXO})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
