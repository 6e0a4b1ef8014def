# Thin wrapper over CMake + Ninja. `make test` builds with the sanitizers in
# build/test; `make build`, `make demo`, `make bench` and `make run` use the
# Release build in build/release.
JOBS ?= 2
RELEASE := build/release
TESTBUILD := build/test

.PHONY: all deps build test demo bench run clean

all: build

deps:
	@scripts/install-deps.sh

$(RELEASE)/build.ninja:
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=OFF -DKORVEL_BENCH=ON

$(TESTBUILD)/build.ninja:
	cmake -S . -B $(TESTBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DKORVEL_SANITIZE=ON -DKORVEL_TESTS=ON

build: deps $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS) --target korvel-cli korvel-server korvel

test: deps $(TESTBUILD)/build.ninja
	cmake --build $(TESTBUILD) -j $(JOBS)
	cd $(TESTBUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo.sh $(RELEASE)

bench: deps $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS)
	@scripts/bench.sh $(RELEASE)

# The desktop program needs a display: a desktop session, or a virtual one
# (xvfb-run -a make run).
run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	    echo "make run: no display to show korvel on (DISPLAY and WAYLAND_DISPLAY are unset)."; \
	    echo "Run it in a desktop session, or on a virtual display: xvfb-run -a make run"; \
	    exit 1; \
	fi
	$(RELEASE)/korvel

clean:
	rm -rf build
