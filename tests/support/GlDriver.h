#pragma once
// Mesa's driver holds a few blocks only from its own data; when it is unloaded at exit those
// blocks look leaked, and the leak checker cannot even name the module any more. Sanitized runs
// keep the driver mapped to the end so that only the show's own leaks are reported.

// Marks every loaded Mesa driver (".../dri/*_dri.so") to stay mapped until the process ends;
// returns how many were found. Call it once a GL context exists.
int KeepGlDriverMapped();
