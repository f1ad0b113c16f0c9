# The two commands of the README: `make test` (and, with the application, `make run`).
JOBS ?= $(shell nproc)
BUILD ?= build
SANITIZE_BUILD ?= build-asan

.PHONY: deps build test test-main test-sanitized bench clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

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

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
