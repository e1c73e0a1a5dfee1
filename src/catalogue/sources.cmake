# The recent-application catalogue: pure rules (NPD_CORE_SOURCES) and Win32 adapters.
list(APPEND NPD_WIN_SOURCES
    src/catalogue/catalogue_builder.cpp
    src/catalogue/usage_history.cpp
)
