# Hostile input through the NPAPI host: a hostile registry and a hostile page.
