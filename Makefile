# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
SANITIZE_BUILD ?= build-asan

.PHONY: deps build run install test test-main test-sanitized bench clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# Builds and starts the tray application (a second start shows the running one's popover).
run: build
	$(BUILD)/app/zestra

# Installs the program, the libraries, the desktop entry, the AppStream file and the icon.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test-main: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The libraries' tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitized: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZESTRA_SANITIZE=ON \
		-DZESTRA_LIBS_ONLY=ON -DZESTRA_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j$(JOBS)

test: test-main test-sanitized

bench: build
	$(BUILD)/bench/store_bench
	$(BUILD)/bench/report_bench

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
