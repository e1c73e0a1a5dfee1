# Soak runs through the NPAPI host and the leak counters that prove them.
