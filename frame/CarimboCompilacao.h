#pragma once

// The build stamp of a module: the date and time its source was compiled,
// as "May 23 2014 15:56:06" (month abbreviation, day, year, hh:mm:ss; a day
// below 10 is padded with a blank, "May  3 2014"). Each source file that
// reports errors uses it so the report names the build of that module.
#define QMX_CARIMBO_COMPILACAO __DATE__ " " __TIME__
