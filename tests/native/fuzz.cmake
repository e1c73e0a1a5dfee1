# Replays of the fuzzers' corpora and crash reproducers as ordinary tests.
