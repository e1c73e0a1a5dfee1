# make demo: a realistic usage history, RecentlyApplications() through the NPAPI host under
# Wine as a table, and the launcher page with its screenshot (build/demo).
# make test: every test, the 32-bit suite included (in the emulated x86 guest where this kernel
# runs no 32-bit programs).  make quick: the same less that guest, for the inner loop.
# make fuzz: the libFuzzer targets (tests/fuzz), FUZZ_SECONDS=60 each; FUZZ_MERGE=1 merges new
# inputs into the committed corpora, FUZZ_TARGETS="a b" picks targets, FUZZ_JOBS=2 runs two at once.
# make build: build only.  make bench: the benchmark programs' medians.
# make package: build/package/npDesklaunch-<version>.msi (signed with SIGN_CERT=... SIGN_KEY=...).
# make extension: the browser extension in build/extension (its .crx with NPD_EXTENSION_KEY=key.pem).
# Each installs what is missing first.
.PHONY: build test quick demo deps bench package fuzz extension

deps:
	@tools/install-deps.sh

build: deps
	@tools/build.sh

test: build
	@tools/test.sh

quick: build
	@tools/test.sh --quick

demo: build
	@tools/demo.sh

bench: build
	@tools/bench.sh

package: build
	@SIGN_CERT="$(SIGN_CERT)" SIGN_KEY="$(SIGN_KEY)" SIGN_PASS="$(SIGN_PASS)" tools/package.sh

fuzz: deps
	@FUZZ_SECONDS="$(FUZZ_SECONDS)" FUZZ_TARGETS="$(FUZZ_TARGETS)" FUZZ_JOBS="$(FUZZ_JOBS)" \
		FUZZ_MERGE="$(FUZZ_MERGE)" tools/fuzz.sh

extension: deps
	@NPD_EXTENSION_KEY="$(NPD_EXTENSION_KEY)" tools/build-extension.sh
