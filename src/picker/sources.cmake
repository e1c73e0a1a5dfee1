# The launcher, the picker dialog and the picker thread.
list(APPEND NPD_WIN_SOURCES
    src/picker/launcher.cpp
    src/picker/picker_dialog.cpp
    src/picker/picker_thread.cpp
)
