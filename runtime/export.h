// VTRT_EXPORT marks the runtime's public classes, which libvtrt.so exports whole (a class takes
// its visibility from its first declaration); VTRT_HIDDEN keeps a private part of one inside.
#pragma once

#if defined(__GNUC__)
#define VTRT_EXPORT __attribute__((visibility("default")))
#define VTRT_HIDDEN __attribute__((visibility("hidden")))
#else
#define VTRT_EXPORT
#define VTRT_HIDDEN
#endif
