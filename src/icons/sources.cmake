# The icon cache: pure pixel, header and naming work (in NPD_CORE_SOURCES) and the GDI, shell and
# file adapters.
list(APPEND NPD_CORE_SOURCES
    src/icons/bitmap_layout.cpp
    src/icons/bitmap_pixels.cpp
    src/icons/icon_paths.cpp
)
list(APPEND NPD_WIN_SOURCES
    src/icons/bitmap_file.cpp
    src/icons/icon_bitmap.cpp
    src/icons/icon_lookup.cpp
)
