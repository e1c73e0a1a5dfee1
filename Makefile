# make demo: a realistic usage history, RecentlyApplications() through the NPAPI host under
# Wine as a table, and the launcher page with its screenshot (build/demo).
# make test: every test, the 32-bit suite included (in the emulated x86 guest where this kernel
# runs no 32-bit programs).  make quick: the same less that guest, for the inner loop.
# make build: build only.  make bench: the benchmark programs' medians.
# make package: build/package/npDesklaunch-<version>.msi (signed with SIGN_CERT=... SIGN_KEY=...).
# Each installs what is missing first.
.PHONY: build test quick demo deps bench package

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
