# Two entry points on a fresh machine: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: all deps configure build test demo gui screenshots bench eval fuzz asan format check-format clean man install deb

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)

# The desktop Zelta with the bundled sample.
gui: build
	@$(BUILD)/zelta-desktop samples/manual.pdf

# Pictures of the desktop window at 100% and 200% scaling, in $(BUILD)/screenshots.
screenshots: build
	@scripts/screenshots $(BUILD)

bench: build
	@scripts/bench $(BUILD)

# Unattended generation scored on manuals from Debian packages (fetched into $(BUILD)/corpus;
# CORPUS_DEBS names a folder of packages already downloaded). Prints a table; never fails on
# a score.
eval: build
	@scripts/fetch-corpus --dest $(BUILD)/corpus $(if $(CORPUS_DEBS),--debs $(CORPUS_DEBS))
	@scripts/eval $(BUILD)

# Each fuzz target for FUZZ_SECONDS (default 60) in build-fuzz (clang, libFuzzer).
fuzz:
	@scripts/install-deps fuzz
	@JOBS=$(JOBS) scripts/fuzz

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan.
asan: deps
	@JOBS=$(JOBS) scripts/asan

format: deps
	@scripts/check-format --fix

check-format: deps
	@scripts/check-format

# zelta(1) from the program's own help texts (help2man).
man: build
	@scripts/man-page $(BUILD)

# The program, the module it loads, the man page and bash completion under PREFIX (DESTDIR
# for staging): bin/zelta, lib/zelta/libbookmarks.so, share/man/man1/zelta.1 and
# share/bash-completion/completions/zelta.
install: man
	install -Dm755 $(BUILD)/zelta $(DESTDIR)$(PREFIX)/bin/zelta
	install -Dm644 $(BUILD)/libbookmarks.so $(DESTDIR)$(PREFIX)/lib/zelta/libbookmarks.so
	install -Dm644 $(BUILD)/zelta.1 $(DESTDIR)$(PREFIX)/share/man/man1/zelta.1
	install -Dm644 zelta/cli/zelta_completion.bash \
		$(DESTDIR)$(PREFIX)/share/bash-completion/completions/zelta

# The Debian package $(BUILD)/zelta_VERSION_ARCH.deb (CPack; Depends from dpkg-shlibdeps):
# install it with `apt-get install ./$(BUILD)/zelta_*.deb`.
deb: man
	@gzip -9n -c $(BUILD)/zelta.1 > $(BUILD)/zelta.1.gz
	@cd $(BUILD) && cpack -G DEB
	@scripts/check-deb $(BUILD)/zelta_*.deb

clean:
	rm -rf $(BUILD) build-fuzz build-asan
