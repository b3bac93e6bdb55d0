#include "support/bounded_regex.h"

#include <pthread.h>

#include <algorithm>
#include <iterator>
#include <locale>
#include <new>
#include <vector>

#include "support/regex_numbers.h"

namespace bm {
namespace {

using std::regex_constants::error_type;

// Room left below the guard for the frames that run between two checks; a small stack (a
// worker thread's) keeps a quarter of itself instead, so that short matches still fit.
constexpr uintptr_t kStackMargin = 1u << 20;

// The lowest address the matcher may reach on this thread's stack.
uintptr_t StackLimit() {
  thread_local uintptr_t limit = [] {
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    pthread_attr_t attr;
    void* low = nullptr;
    size_t size = 0;
    uintptr_t result = here > 2 * kStackMargin ? here - 2 * kStackMargin : 0;  // unknown: 2 MiB
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      if (pthread_attr_getstack(&attr, &low, &size) == 0 && low)
        result = reinterpret_cast<uintptr_t>(low) + std::min<uintptr_t>(kStackMargin, size / 4);
      pthread_attr_destroy(&attr);
    }
    return result;
  }();
  return limit;
}

struct MatchGuard {
  int64_t stepsLeft;
  uintptr_t stackLimit;
};

// A character pointer that charges every step of the matcher to the guard.
class GuardedIterator {
 public:
  using iterator_category = std::bidirectional_iterator_tag;
  using value_type = wchar_t;
  using difference_type = std::ptrdiff_t;
  using pointer = const wchar_t*;
  using reference = const wchar_t&;

  GuardedIterator() = default;
  GuardedIterator(const wchar_t* p, MatchGuard* guard) : p_(p), guard_(guard) {}

  reference operator*() const {
    Charge();
    return *p_;
  }
  GuardedIterator& operator++() {
    Charge();
    ++p_;
    return *this;
  }
  GuardedIterator operator++(int) {
    GuardedIterator before = *this;
    ++*this;
    return before;
  }
  GuardedIterator& operator--() {
    Charge();
    --p_;
    return *this;
  }
  GuardedIterator operator--(int) {
    GuardedIterator before = *this;
    --*this;
    return before;
  }
  friend bool operator==(const GuardedIterator& a, const GuardedIterator& b) {
    return a.p_ == b.p_;
  }
  const wchar_t* Base() const { return p_; }

 private:
  void Charge() const {
    if (--guard_->stepsLeft < 0) throw std::regex_error(std::regex_constants::error_complexity);
    if (reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) < guard_->stackLimit)
      throw std::regex_error(std::regex_constants::error_stack);
  }

  const wchar_t* p_ = nullptr;
  MatchGuard* guard_ = nullptr;
};

struct TooLong {};

// Appends to a string and stops the replacing (TooLong) once the string would pass a length.
class BoundedAppender {
 public:
  using iterator_category = std::output_iterator_tag;
  using value_type = void;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = void;

  BoundedAppender(std::wstring& out, size_t maxLength) : out_(&out), maxLength_(maxLength) {}
  BoundedAppender& operator=(wchar_t c) {
    if (out_->size() >= maxLength_) throw TooLong{};
    out_->push_back(c);
    return *this;
  }
  BoundedAppender& operator*() { return *this; }
  BoundedAppender& operator++() { return *this; }
  BoundedAppender operator++(int) { return *this; }

 private:
  std::wstring* out_;
  size_t maxLength_;
};

// Case-insensitive matching needs a locale that knows more than ASCII.
std::locale MatchLocale() {
  static const std::locale locale = [] {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      try {
        return std::locale(name);
      } catch (const std::runtime_error&) {
      }
    }
    return std::locale::classic();
  }();
  return locale;
}

}  // namespace

std::wstring BoundedRegex::ToWide(std::u16string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

std::u16string BoundedRegex::FromWide(std::wstring_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    const auto c = static_cast<uint32_t>(w);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c <= 0xFFFF ? c : 0xFFFD);
    }
  }
  return out;
}

BoundedRegex::SizeEstimate BoundedRegex::Estimate(std::u16string_view pattern) {
  // Each open group keeps the states counted inside it so far and the cost of its last item
  // (what a following quantifier repeats).
  struct Frame {
    double sum = 0;
    double last = 0;
  };
  std::vector<Frame> frames(1);
  SizeEstimate estimate;
  auto add = [&](double cost) {
    frames.back().sum += cost;
    frames.back().last = cost;
  };
  size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c == u'\\') {
      i += 2;
      add(1);
    } else if (c == u'[') {
      for (++i; i < pattern.size() && pattern[i] != u']'; ++i)
        if (pattern[i] == u'\\') ++i;
      ++i;
      add(1);
    } else if (c == u'(') {
      frames.push_back({});
      estimate.nesting = std::max(estimate.nesting, static_cast<int>(frames.size()) - 1);
      i += (i + 2 < pattern.size() && pattern[i + 1] == u'?') ? 3 : 1;
    } else if (c == u')') {
      const double inner = frames.back().sum + 2;
      if (frames.size() > 1) frames.pop_back();
      add(inner);
      ++i;
    } else if (c == u'|') {
      frames.back().sum += 1;
      frames.back().last = 0;
      ++i;
    } else if (c == u'*' || c == u'+' || c == u'?') {
      frames.back().sum += 1;
      ++i;
    } else if (c == u'{') {
      // {n}, {n,} or {n,m}: the item is copied max(n, m) times.
      size_t j = i + 1;
      double low = 0, high = -1;
      bool digits = false;
      while (j < pattern.size() && pattern[j] >= u'0' && pattern[j] <= u'9') {
        low = std::min(low * 10 + (pattern[j++] - u'0'), 1e12);
        digits = true;
      }
      if (j < pattern.size() && pattern[j] == u',') {
        ++j;
        if (j < pattern.size() && pattern[j] >= u'0' && pattern[j] <= u'9') high = 0;
        while (j < pattern.size() && pattern[j] >= u'0' && pattern[j] <= u'9')
          high = std::min(high * 10 + (pattern[j++] - u'0'), 1e12);
      }
      if (digits && j < pattern.size() && pattern[j] == u'}') {
        frames.back().sum += frames.back().last * std::max(low, high) + 1;
        i = j + 1;
      } else {
        add(1);
        ++i;
      }
    } else {
      add(1);
      ++i;
    }
  }
  for (const Frame& frame : frames) estimate.states += frame.sum + 2;
  return estimate;
}

std::optional<int> BoundedRegex::Compile(std::u16string_view pattern, bool ignoreCase) {
  compiled_ = false;
  backReferences_ = false;
  if (pattern.size() > kMaxPatternLength) return std::regex_constants::error_complexity;
  if (auto oversized = support::OversizedRegexNumber(pattern)) return *oversized;
  const SizeEstimate estimate = Estimate(pattern);
  if (estimate.nesting > kMaxNesting || estimate.states > kMaxStates)
    return std::regex_constants::error_complexity;

  auto flags = std::regex_constants::ECMAScript;
  if (ignoreCase) flags |= std::regex_constants::icase;
  try {
    const std::wstring wide = ToWide(pattern);
    regex_.imbue(MatchLocale());
    try {
      // The non-recursive matcher refuses back-references with error_complexity.
      regex_.assign(wide, flags | std::regex_constants::__polynomial);
    } catch (const std::regex_error& error) {
      if (error.code() != std::regex_constants::error_complexity) throw;
      regex_.assign(wide, flags);
      backReferences_ = true;
    }
  } catch (const std::regex_error& error) {
    return static_cast<int>(error.code());
  } catch (const std::bad_alloc&) {
    return std::regex_constants::error_space;
  }
  compiled_ = true;
  return std::nullopt;
}

namespace {

// Runs one guarded matcher call; the code of any failure goes to *error.
template <typename Call>
bool Guarded(Call&& call, int* error) {
  try {
    call();
    return true;
  } catch (const std::regex_error& e) {
    *error = static_cast<int>(e.code());
  } catch (const std::bad_alloc&) {
    *error = std::regex_constants::error_space;
  } catch (const std::length_error&) {
    *error = std::regex_constants::error_space;
  }
  return false;
}

size_t Utf16Length(std::wstring_view text) {
  size_t length = text.size();
  for (wchar_t w : text)
    if (static_cast<uint32_t>(w) >= 0x10000 && static_cast<uint32_t>(w) <= 0x10FFFF) ++length;
  return length;
}

}  // namespace

namespace {

// Runs one matcher call over `text` under a fresh step budget and the stack guard; `body`
// gets the subject and its guarded bounds. False, with the code in *error, when the pattern
// is not compiled or the call failed.
template <typename Body>
bool RunGuarded(bool compiled, std::u16string_view text, int* error, Body&& body) {
  if (!compiled) {
    *error = std::regex_constants::error_complexity;
    return false;
  }
  return Guarded(
      [&] {
        const std::wstring subject = BoundedRegex::ToWide(text);
        MatchGuard guard{BoundedRegex::kStepBudget, StackLimit()};
        const wchar_t* begin = subject.data();
        body(subject, GuardedIterator(begin, &guard),
             GuardedIterator(begin + subject.size(), &guard));
      },
      error);
}

}  // namespace

BoundedRegex::Match BoundedRegex::Search(std::u16string_view text, size_t* start, size_t* length,
                                         int* error) const {
  int ignored = 0;
  bool found = false;
  const bool ran = RunGuarded(
      compiled_, text, error ? error : &ignored,
      [&](const std::wstring& subject, GuardedIterator first, GuardedIterator last) {
        std::match_results<GuardedIterator> match;
        found = std::regex_search(first, last, match, regex_);
        if (!found) return;
        const std::wstring_view all(subject);
        const auto wideStart = static_cast<size_t>(match[0].first.Base() - subject.data());
        const auto wideLength = static_cast<size_t>(match[0].second.Base() - match[0].first.Base());
        if (start) *start = Utf16Length(all.substr(0, wideStart));
        if (length) *length = Utf16Length(all.substr(wideStart, wideLength));
      });
  if (!ran) return Match::kFailed;
  return found ? Match::kFound : Match::kNone;
}

BoundedRegex::Match BoundedRegex::MatchWhole(std::u16string_view text, int* error) const {
  int ignored = 0;
  bool found = false;
  const bool ran =
      RunGuarded(compiled_, text, error ? error : &ignored,
                 [&](const std::wstring&, GuardedIterator first, GuardedIterator last) {
                   found = std::regex_match(first, last, regex_);
                 });
  if (!ran) return Match::kFailed;
  return found ? Match::kFound : Match::kNone;
}

BoundedRegex::Outcome BoundedRegex::Replace(std::u16string& text, std::u16string_view format,
                                            int* error, size_t maxLength) const {
  int ignored = 0;
  Outcome outcome = Outcome::kUnchanged;
  const bool ran =
      RunGuarded(compiled_, text, error ? error : &ignored,
                 [&](const std::wstring& subject, GuardedIterator first, GuardedIterator last) {
                   std::wstring result;
                   try {
                     std::regex_replace(BoundedAppender(result, maxLength), first, last, regex_,
                                        ToWide(format));
                   } catch (const TooLong&) {
                     outcome = Outcome::kTooLong;
                     return;
                   }
                   if (result == subject) return;
                   text = FromWide(result);
                   outcome = Outcome::kChanged;
                 });
  return ran ? outcome : Outcome::kFailed;
}

}  // namespace bm
