# DRM Quodra: set-up, build, run, test and benchmark on a Debian machine.
# `make run` and `make test` install whatever system packages are missing.

BUILD      ?= build
BENCHBUILD ?= build-bench
JOBS       ?= $(shell nproc)
PACKAGES    = qt6-base-dev cmake g++ make googletest libgtest-dev libgmock-dev \
              libbenchmark-dev xvfb xauth libx11-dev libxtst-dev libssl-dev \
              openssl ca-certificates python3 pkg-config ccache \
              libhamlib-dev libhamlib-utils qt6-charts-dev qt6-svg-dev \
              python3-pyatspi python3-xlib at-spi2-core dbus dbus-x11 \
              clang libclang-rt-14-dev appstream dpkg-dev file

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run test bench clean

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

bench: deps
	cmake -S . -B $(BENCHBUILD) -DCMAKE_BUILD_TYPE=Release -DDRMQ_BENCH=ON -DDRMQ_TESTS=OFF
	cmake --build $(BENCHBUILD) -j $(JOBS) --target drmq_bench
	cd $(BENCHBUILD) && xvfb-run -a ./bench/drmq_bench

clean:
	rm -rf $(BUILD) $(BENCHBUILD)
