# make demo: the plug-in scan and its scriptable object, through the NPAPI host under Wine.
# make test: every test, the 32-bit suite included (in the emulated x86 guest where this kernel
# runs no 32-bit programs).  make quick: the same less that guest, for the inner loop.
# make build: build only.  Each installs what is missing first.
.PHONY: build test quick demo deps

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
