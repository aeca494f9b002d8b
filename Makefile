# DRM Quodra: set-up, build, run, test and benchmark on a Debian machine.
# `make run` and `make test` install whatever system packages are missing.

BUILD      ?= build
BENCHBUILD ?= build-bench
FUZZBUILD  ?= build-fuzz
SANBUILD   ?= build-sanitize
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
PACKAGES    = qt6-base-dev cmake g++ make googletest libgtest-dev libgmock-dev \
              libbenchmark-dev xvfb xauth libx11-dev libxtst-dev libssl-dev \
              openssl ca-certificates python3 pkg-config ccache \
              libhamlib-dev libhamlib-utils qt6-charts-dev libqt6opengl6-dev qt6-svg-dev \
              python3-pyatspi python3-xlib at-spi2-core dbus dbus-x11 \
              clang libclang-rt-14-dev appstream dpkg-dev file faketime \
              librsvg2-bin qt6-wayland libzip-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run test install package bench fuzz sanitize clean

all: build

# Installs only when dpkg reports a package missing, so a second run is fast.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found (DISPLAY is not set), so the window cannot open here."; \
	  echo "Start the program on a virtual display instead:"; \
	  echo "    xvfb-run -a $(BUILD)/drmquodra"; \
	  echo "or run it on a desktop session: $(BUILD)/drmquodra"; \
	  exit 1; \
	fi
	cd $(BUILD) && ./drmquodra

# Every test runs under a virtual X server: the key-injection tests need a
# real one, the window tests use Qt's offscreen platform.
test: build
	xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300

# Installs into PREFIX (staged below DESTDIR when given); through sudo only
# when the target folder cannot be written by the user.
install: build
	@target="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$target" ]; do target=$$(dirname "$$target"); done; \
	if [ -w "$$target" ]; then run=""; else run="$(SUDO)"; fi; \
	$$run env DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# The Debian package of the build, drmquodra_<version>_<arch>.deb in BUILD.
package: build
	cd $(BUILD) && cpack -G DEB
	dpkg-deb --info $(BUILD)/drmquodra_*.deb

bench: deps
	cmake -S . -B $(BENCHBUILD) -DCMAKE_BUILD_TYPE=Release -DDRMQ_BENCH=ON -DDRMQ_TESTS=OFF
	cmake --build $(BENCHBUILD) -j $(JOBS) --target drmq_bench
	cd $(BENCHBUILD) && xvfb-run -a ./bench/drmq_bench

# Every parser of outside input under libFuzzer with the address and
# undefined-behaviour sanitizers, FUZZ_SECONDS each, one after another. New
# inputs go to $(FUZZBUILD)/corpus, faults to $(FUZZBUILD)/findings.
fuzz: deps
	cmake -S . -B $(FUZZBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DDRMQ_FUZZ=ON -DDRMQ_TESTS=OFF
	cmake --build $(FUZZBUILD) -j $(JOBS) --target fuzzers
	@mkdir -p $(FUZZBUILD)/findings; \
	for seeds in tests/fuzz/corpus/*/; do \
	  name=$$(basename $$seeds); mkdir -p $(FUZZBUILD)/corpus/$$name; \
	  echo "== $$name: $(FUZZ_SECONDS) s"; \
	  $(FUZZBUILD)/fuzz/fuzz_$$name -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZBUILD)/findings/$$name- \
	    $(FUZZBUILD)/corpus/$$name $$seeds || { \
	    echo "fuzz_$$name found a fault: see $(FUZZBUILD)/findings/; after the fix, add the input to $$seeds"; \
	    exit 1; }; \
	done

# The whole test suite built with the address and undefined-behaviour
# sanitizers. Leak checking is off: Qt's and the X libraries' allocations
# that live until exit would bury real reports. Faults inside outside
# libraries are listed, with their reasons, in tests/sanitize/asan.supp.
# A system scenario preloads a clock library, so ASan need not come first.
sanitize: deps
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRMQ_SANITIZE=ON
	cmake --build $(SANBUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:verify_asan_link_order=0:suppressions=$(CURDIR)/tests/sanitize/asan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
	  ctest --test-dir $(SANBUILD) --output-on-failure -j $(JOBS) --timeout 900

clean:
	rm -rf $(BUILD) $(BENCHBUILD) $(FUZZBUILD) $(SANBUILD)
