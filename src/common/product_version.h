// The product version: the one place that the version resources, the messaging host and the
// installer package take it from. tools/package.sh reads the four numbers below, so keep one
// "#define NAME number" line each.
#ifndef NPDESKLAUNCH_COMMON_PRODUCT_VERSION_H
#define NPDESKLAUNCH_COMMON_PRODUCT_VERSION_H

#define NPD_VERSION_MAJOR 1
#define NPD_VERSION_MINOR 0
#define NPD_VERSION_PATCH 0
#define NPD_VERSION_BUILD 1

// "1, 0, 0, 1": the text form that the version resource carries.
#define NPD_VERSION_QUOTE_(...) #__VA_ARGS__
#define NPD_VERSION_JOIN_(a, b, c, d) NPD_VERSION_QUOTE_(a, b, c, d)
#define NPD_VERSION_TEXT                                                                           \
    NPD_VERSION_JOIN_(NPD_VERSION_MAJOR, NPD_VERSION_MINOR, NPD_VERSION_PATCH, NPD_VERSION_BUILD)

// "1.0.0.1": the same four numbers as a program shows them.
#define NPD_VERSION_DOT_(a, b, c, d) #a "." #b "." #c "." #d
#define NPD_VERSION_DOTTED_(a, b, c, d) NPD_VERSION_DOT_(a, b, c, d)
#define NPD_VERSION_TEXT_DOTTED                                                                    \
    NPD_VERSION_DOTTED_(NPD_VERSION_MAJOR, NPD_VERSION_MINOR, NPD_VERSION_PATCH, NPD_VERSION_BUILD)

#endif
