# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds into build/ and starts Tarvelo
#   make test   the same, then runs the whole test suite with CTest
BUILD_DIR ?= build
JOBS      ?= $(shell nproc)
CMAKE_FLAGS ?=

# Debian packages the build, the tests and the screenshots need.
PACKAGES = cmake g++ make pkg-config \
           qt6-base-dev qt6-webengine-dev libgl-dev \
           fonts-dejavu-core fonts-dejavu-extra fonts-comic-neue \
           xvfb xauth x11-utils xdotool \
           libbenchmark-dev clang-14 libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
WERROR := $(if $(CI),ON,OFF)

.PHONY: deps configure build run test clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELO_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/tarvelo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 300

clean:
	rm -rf $(BUILD_DIR)
