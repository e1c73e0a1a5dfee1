# The recent-application catalogue: pure rules (NPD_CORE_SOURCES) and Win32 adapters.
list(APPEND NPD_CORE_SOURCES
    src/catalogue/accessory_apps.cpp
    src/catalogue/catalogue_assembly.cpp
    src/catalogue/exclusion_rules.cpp
    src/catalogue/folder_expansion.cpp
    src/catalogue/history_rules.cpp
    src/catalogue/result_text.cpp
)
list(APPEND NPD_WIN_SOURCES
    src/catalogue/accessory_apps_win.cpp
    src/catalogue/app_identity.cpp
    src/catalogue/catalogue_builder.cpp
    src/catalogue/images_folder.cpp
    src/catalogue/known_folders.cpp
    src/catalogue/registry_view.cpp
    src/catalogue/usage_history.cpp
)
