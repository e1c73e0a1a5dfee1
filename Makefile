# make demo: a realistic usage history, RecentlyApplications() through the NPAPI host under
# Wine as a table, and the launcher page with its screenshot (build/demo).
# make test: every test.  make build: build only.  make bench: the benchmark programs' medians.
# Each installs what is missing first.
.PHONY: build test demo deps bench

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
