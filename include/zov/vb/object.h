// Reference-counted objects in the style of COM, the way the host and the plug-ins see each other.
//
// Every object handed across the plug-in boundary implements IObject. Interfaces are pure abstract
// classes identified by a Guid; a caller asks an object for another of its interfaces with
// QueryInterface, never with dynamic_cast, so that objects built by the host and objects built by
// the plug-in library can be mixed freely even when the two are loaded separately.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace zov::vb {

// A 128-bit interface or class identifier, written "{68F003F6-5FF5-45D1-A419-539071E56F8D}".
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};

  // Parses the registry form with braces; a malformed text is a compile error in constant
  // evaluation and yields the null Guid at run time.
  static constexpr Guid Parse(std::string_view text) {
    Guid g;
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return Guid{};
    auto hex = [&](std::size_t pos, std::size_t digits, std::uint64_t& out) {
      out = 0;
      for (std::size_t i = 0; i < digits; ++i) {
        char c = text[pos + i];
        int v = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (v < 0) return false;
        out = out * 16 + static_cast<std::uint64_t>(v);
      }
      return true;
    };
    if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return Guid{};
    std::uint64_t v = 0;
    if (!hex(1, 8, v)) return Guid{};
    g.data1 = static_cast<std::uint32_t>(v);
    if (!hex(10, 4, v)) return Guid{};
    g.data2 = static_cast<std::uint16_t>(v);
    if (!hex(15, 4, v)) return Guid{};
    g.data3 = static_cast<std::uint16_t>(v);
    const std::size_t bytes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
      if (!hex(bytes[i], 2, v)) return Guid{};
      g.data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
  }

  // Upper-case registry form with braces.
  std::string ToString() const;

  bool IsNull() const { return *this == Guid{}; }

  friend constexpr bool operator==(const Guid& a, const Guid& b) {
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.data4[i] != b.data4[i]) return false;
    return true;
  }
};

// The root of every interface: identity, reference counting and interface discovery.
class IUnknown {
 public:
  // Returns the interface `iid` of this object with one reference added, or nullptr when the
  // object does not implement it.
  virtual void* QueryInterface(const Guid& iid) = 0;
  // Adds a reference; returns the new count (informational only).
  virtual std::uint32_t AddRef() = 0;
  // Drops a reference and destroys the object when it was the last; returns the new count.
  virtual std::uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

// An object that a Variant can hold: the late-bound face of every host and plug-in object.
class IObject : public IUnknown {
 public:
  static constexpr Guid IID = Guid::Parse("{00020400-0000-0000-C000-000000000046}");
  // The run-time type name, as VB's TypeName() reports it ("BillEvent", "Dictionary", ...).
  virtual std::string TypeName() const = 0;

 protected:
  ~IObject() = default;
};

// An owning smart pointer to an interface: copies add a reference, destruction releases it.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  // Shares `p`: adds a reference.
  explicit Ref(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  Ref(const Ref& o) : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& o) : Ref(static_cast<T*>(o.get())) {}
  ~Ref() { reset(); }

  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  // Takes over a reference the caller already owns (a fresh object or a QueryInterface result).
  static Ref Adopt(T* p) {
    Ref r;
    r.p_ = p;
    return r;
  }

  // Asks the object for interface U; empty when it has none.
  template <class U>
  Ref<U> As() const {
    if (!p_) return {};
    return Ref<U>::Adopt(static_cast<U*>(p_->QueryInterface(U::IID)));
  }

  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  friend bool operator==(const Ref& a, const Ref& b) { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

// Creates a new object of class C (derived from Implements<...>) and returns it as interface I.
template <class I, class C, class... Args>
Ref<I> MakeRef(Args&&... args) {
  C* obj = new C(std::forward<Args>(args)...);
  // The new object starts with one reference. IObject is reached through the object's identity
  // (its first interface), since a class of several interfaces holds several IObject bases.
  if constexpr (std::is_same_v<I, IObject>)
    return Ref<I>::Adopt(obj->Identity());
  else
    return Ref<I>::Adopt(static_cast<I*>(obj));
}

// The reference counting and QueryInterface of a class implementing the interfaces Is. The first
// interface is the object's identity; IUnknown and IObject are answered through it.
template <class... Is>
class Implements : public Is... {
 public:
  void* QueryInterface(const Guid& iid) override {
    void* found = Find<Is...>(iid);
    if (!found && iid == IObject::IID) found = Identity();
    if (found) AddRef();
    return found;
  }
  // The object's identity: its IObject as seen through the first interface.
  IObject* Identity() { return FirstObject<Is...>(); }

  std::uint32_t AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  std::uint32_t Release() override {
    std::uint32_t left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

 protected:
  Implements() = default;
  virtual ~Implements() = default;
  Implements(const Implements&) = delete;
  Implements& operator=(const Implements&) = delete;

 private:
  template <class First, class... Rest>
  void* Find(const Guid& iid) {
    if (iid == First::IID) return static_cast<First*>(this);
    if constexpr (sizeof...(Rest) > 0) return Find<Rest...>(iid);
    return nullptr;
  }
  template <class First, class... Rest>
  IObject* FirstObject() {
    if constexpr (std::is_base_of_v<IObject, First>)
      return static_cast<First*>(this);
    else if constexpr (sizeof...(Rest) > 0)
      return FirstObject<Rest...>();
    else
      return nullptr;
  }

  std::atomic<std::uint32_t> refs_{1};
};

}  // namespace zov::vb
