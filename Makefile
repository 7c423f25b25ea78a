# make run   build, then install the carried runtime silently under Wine
#            (ARCH=x86|x64 chooses the build; see README)
# make test  build all presets and run every test
# make build build all presets
# make fuzz  run every fuzz target for SECONDS seconds (default 600)
# make gallery  screenshots of every wizard page and locale in build/gallery
SHELL := /bin/bash
ARGS ?= /s
SECONDS ?= 600
JOBS ?= $(shell nproc)
PRESETS := windows-x86 windows-x64 host

.PHONY: setup build run test fuzz bench gallery clean FORCE
# Pattern targets cannot be phony (make skips their rules); FORCE reruns them.

setup:
	@scripts/setup.sh

build: setup $(addprefix build-,$(PRESETS))

build-%: setup FORCE
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

# The product (x86) where 32-bit programs start, else its x86_64 twin;
# ARCH=x86 or ARCH=x64 chooses.
RUN_ARCH = $(or $(ARCH),$(shell bash -c 'source scripts/wine.bash && cx_native_arch'))

run: setup
	@$(MAKE) --no-print-directory build-windows-$(RUN_ARCH)
	@CX_RUN_ARCH_ASKED=$(ARCH) scripts/run-installer build/windows-$(RUN_ARCH)/bin/cxroffline.exe $(ARGS)

test: build
	@scripts/run-tests $(PRESETS)

test-%: build-% FORCE
	@scripts/run-tests $*

fuzz: build-host
	@for f in build/host/bin/*_fuzz; do \
	    echo "== $$f ($(SECONDS) s)"; \
	    scripts/run-fuzzer $$f $(SECONDS) fuzz || exit 1; \
	done

gallery: setup
	@NODE_PATH=build/node/node_modules node tests/pages/gallery.cjs

bench: setup
	@for b in bench/*/run; do echo "== $$b"; $$b || exit 1; done

clean:
	@scripts/wine-prefix stop
	rm -rf build

FORCE:
