# Faults of the machine around the module: folders, locks, full disks, corrupt files.
