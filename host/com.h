// The component-object runtime shared by the host and its plug-in modules: result codes,
// interface identifiers, reference counting, atoms and owned UTF-16 strings. Nothing else
// crosses the boundary between the two halves: no STL containers, no exceptions.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

namespace zelta {

// 32-bit signed result; negative means failure.
using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;  // success without change / nothing found
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
// Host I/O failures: file not found, access denied, disk full (system facility codes).
inline constexpr HRESULT E_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);
inline constexpr HRESULT E_ACCESS_DENIED = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT E_DISK_FULL = static_cast<HRESULT>(0x80070070u);
// The user cancelled the operation (plug-in facility 31, code 0x04C7).
inline constexpr HRESULT E_CANCELLED = static_cast<HRESULT>(0x821F04C7u);
// The document does not permit the change (plug-in facility 31, code 0x1001).
inline constexpr HRESULT E_NO_PERMISSION = static_cast<HRESULT>(0x821F1001u);

inline constexpr bool Failed(HRESULT hr) { return hr < 0; }
inline constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
  friend constexpr bool operator==(const Guid& a, const Guid& b) {
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.data4[i] != b.data4[i]) return false;
    return true;
  }
};

// Interned id string. 0 is "no atom".
using Atom = uint32_t;
inline constexpr Atom kNoAtom = 0;

// Opaque window handle (the headless host uses 0 or a small id).
using WindowHandle = intptr_t;

// Every interface derives from IUnknown and declares `static constexpr Guid kIid`.
// QueryInterface adds a reference to what it returns; a failed query sets *out to null and
// returns E_NOINTERFACE. Reference counts start at 0 for new objects; the creator takes the
// first reference.
struct IUnknown {
  static constexpr Guid kIid{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

// ---------------------------------------------------------------------------------------
// Owned strings. A BString is a UTF-16 buffer allocated with malloc, with its length in code
// units stored just before the text and a terminating NUL after it. Strings returned through
// out-parameters are BStrings that the receiver frees with FreeString (or holds in an
// OwnedString). Strings passed in are (const char16_t* text, int32_t length) where length -1
// means NUL-terminated; a null text with length 0 or -1 is the empty string.
using BString = char16_t*;

inline BString AllocString(const char16_t* text, size_t length) {
  if (length > 0x3FFFFFFFu) return nullptr;
  auto* block =
      static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) + (length + 1) * sizeof(char16_t)));
  if (!block) return nullptr;
  block[0] = static_cast<uint32_t>(length);
  auto* data = reinterpret_cast<char16_t*>(block + 1);
  if (length && text)
    std::memcpy(data, text, length * sizeof(char16_t));
  else if (length)
    std::memset(data, 0, length * sizeof(char16_t));
  data[length] = 0;
  return data;
}
inline BString AllocString(std::u16string_view text) {
  return AllocString(text.data(), text.size());
}
inline void FreeString(BString s) {
  if (s) std::free(reinterpret_cast<uint32_t*>(s) - 1);
}
inline uint32_t StringLength(const char16_t* s) {
  return s ? reinterpret_cast<const uint32_t*>(s)[-1] : 0;
}

// Length of an in-parameter string: -1 means NUL-terminated.
inline std::u16string_view InString(const char16_t* text, int32_t length) {
  if (!text) return {};
  if (length < 0) return std::u16string_view(text);
  return std::u16string_view(text, static_cast<size_t>(length));
}

// Writes a copy of `text` into *out. E_POINTER for a null out, E_OUTOFMEMORY on failure.
inline HRESULT ReturnString(std::u16string_view text, BString* out) {
  if (!out) return E_POINTER;
  *out = AllocString(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

// RAII holder for a BString received from a call.
class OwnedString {
 public:
  OwnedString() = default;
  explicit OwnedString(BString s) : s_(s) {}
  OwnedString(const OwnedString&) = delete;
  OwnedString& operator=(const OwnedString&) = delete;
  OwnedString(OwnedString&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  OwnedString& operator=(OwnedString&& o) noexcept {
    if (this != &o) {
      FreeString(s_);
      s_ = std::exchange(o.s_, nullptr);
    }
    return *this;
  }
  ~OwnedString() { FreeString(s_); }

  // Frees the current string and returns the slot for an out-parameter.
  BString* Put() {
    FreeString(s_);
    s_ = nullptr;
    return &s_;
  }
  std::u16string_view View() const {
    return s_ ? std::u16string_view(s_, StringLength(s_)) : std::u16string_view();
  }
  std::u16string Str() const { return std::u16string(View()); }
  const char16_t* Data() const { return s_ ? s_ : u""; }
  int32_t Length() const { return static_cast<int32_t>(StringLength(s_)); }
  bool Empty() const { return StringLength(s_) == 0; }

 private:
  BString s_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Intrusive smart pointer for interfaces.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference on p.
  ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  ComPtr(const ComPtr<U>& o) : ComPtr(static_cast<T*>(o.Get())) {}
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  // Adopts a pointer that already carries a reference.
  static ComPtr Adopt(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Releases the current pointer and returns the slot for an out-parameter.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // Hands out a new reference through an out-parameter of T or of an interface T derives
  // from: the one way objects leave a call.
  template <class U>
  HRESULT CopyTo(U** out) const {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }
  template <class U>
  HRESULT As(ComPtr<U>* out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(U::kIid, out->PutVoid());
  }
  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

template <class U, class T>
ComPtr<U> QueryAs(T* p) {
  ComPtr<U> out;
  if (p) p->QueryInterface(U::kIid, out.PutVoid());
  return out;
}

// ---------------------------------------------------------------------------------------
// A minimal reference-counting base for implementations. `Impl` lists the interfaces the
// object answers to; QueryInterface walks them in order. Single-threaded by design: every
// call comes on the host's user-interface thread.
template <class... Interfaces>
class ComObject : public Interfaces... {
 public:
  HRESULT QueryInterface(const Guid& iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IUnknown::kIid) {
      *out = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
    } else {
      (TryInterface<Interfaces>(iid, out) || ...);
    }
    if (!*out) return ExtraQuery(iid, out);
    AddRef();
    return S_OK;
  }
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;
  // Lets a derived class answer further interface ids (adds the reference itself).
  virtual HRESULT ExtraQuery(const Guid&, void** out) {
    *out = nullptr;
    return E_NOINTERFACE;
  }

 private:
  using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  template <class I>
  bool TryInterface(const Guid& iid, void** out) {
    if (iid == I::kIid) {
      *out = static_cast<I*>(this);
      return true;
    }
    return false;
  }
  uint32_t refs_ = 0;
};

// Lets MakeCom reach a private constructor: a class whose objects only its own factory
// functions make declares `friend struct zelta::ComAccess;`.
struct ComAccess {
  template <class T, class... Args>
  static T* New(Args&&... args) {
    return new T(std::forward<Args>(args)...);
  }
};

// Creates a ComObject-derived object and hands back its first reference: the one way
// reference-counted objects are made.
template <class T, class... Args>
ComPtr<T> MakeCom(Args&&... args) {
  return ComPtr<T>(ComAccess::New<T>(std::forward<Args>(args)...));
}

}  // namespace zelta
