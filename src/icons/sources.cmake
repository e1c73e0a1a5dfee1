# The icon cache: pure pixel and header work (NPD_CORE_SOURCES) and the GDI and file adapters.
list(APPEND NPD_WIN_SOURCES
)
