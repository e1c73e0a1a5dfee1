# make demo: a realistic usage history, RecentlyApplications() through the NPAPI host under
# Wine as a table, and the launcher page with its screenshot (build/demo).
# make test: every test.  make build: build only.  make bench: the benchmark programs' medians.
# make package: build/package/npDesklaunch-<version>.msi (signed with SIGN_CERT=... SIGN_KEY=...).
# Each installs what is missing first.
.PHONY: build test demo deps bench package

deps:
	@tools/install-deps.sh

build: deps
	@tools/build.sh

test: build
	@tools/test.sh

demo: build
	@tools/demo.sh

bench: build
	@tools/bench.sh

package: build
	@SIGN_CERT="$(SIGN_CERT)" SIGN_KEY="$(SIGN_KEY)" SIGN_PASS="$(SIGN_PASS)" tools/package.sh
