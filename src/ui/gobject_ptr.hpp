#pragma once

#include <glib-object.h>
#include <memory>
#include <utility>

// Ownership of GObject references from C++. The constructor functions say at the call site
// what happens to the reference count:
//   adopt(p)    the reference is already ours (a "transfer full" return value);
//   ref(p)      take a new reference;
//   ref_sink(p) take ownership of a floating reference (freshly made widgets).
namespace ombrix::ui {

template <class T> class GObjectPtr {
public:
    GObjectPtr() = default;
    GObjectPtr(std::nullptr_t) {}
    GObjectPtr(const GObjectPtr& other) : ptr_(other.ptr_) {
        if (ptr_) {
            g_object_ref(ptr_);
        }
    }
    GObjectPtr(GObjectPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~GObjectPtr() {
        if (ptr_) {
            g_object_unref(ptr_);
        }
    }

    static GObjectPtr adopt(T* p) {
        GObjectPtr result;
        result.ptr_ = p;
        return result;
    }
    static GObjectPtr ref(T* p) {
        GObjectPtr result;
        result.ptr_ = p ? static_cast<T*>(g_object_ref(p)) : nullptr;
        return result;
    }
    static GObjectPtr ref_sink(T* p) {
        GObjectPtr result;
        result.ptr_ = p ? static_cast<T*>(g_object_ref_sink(p)) : nullptr;
        return result;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // Gives up ownership without unreferencing (for "transfer full" parameters).
    T* release() { return std::exchange(ptr_, nullptr); }
    void reset() { *this = GObjectPtr(); }

    friend bool operator==(const GObjectPtr& a, const GObjectPtr& b) { return a.ptr_ == b.ptr_; }

private:
    T* ptr_ = nullptr;
};

template <class T> GObjectPtr<T> adopt(T* p) {
    return GObjectPtr<T>::adopt(p);
}
template <class T> GObjectPtr<T> ref(T* p) {
    return GObjectPtr<T>::ref(p);
}
template <class T> GObjectPtr<T> ref_sink(T* p) {
    return GObjectPtr<T>::ref_sink(p);
}

// A weak reference that does not keep the object alive; get() returns a strong reference
// or an empty handle once the object has been finalized.
template <class T> class GWeakPtr {
public:
    GWeakPtr() { g_weak_ref_init(&weak_, nullptr); }
    explicit GWeakPtr(T* p) { g_weak_ref_init(&weak_, p); }
    GWeakPtr(const GWeakPtr& other) {
        g_weak_ref_init(&weak_, nullptr);
        auto strong = other.get();
        g_weak_ref_set(&weak_, strong.get());
    }
    GWeakPtr& operator=(const GWeakPtr& other) {
        auto strong = other.get();
        g_weak_ref_set(&weak_, strong.get());
        return *this;
    }
    ~GWeakPtr() { g_weak_ref_clear(&weak_); }

    GObjectPtr<T> get() const {
        return GObjectPtr<T>::adopt(static_cast<T*>(g_weak_ref_get(const_cast<GWeakRef*>(&weak_))));
    }

private:
    GWeakRef weak_;
};

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

// Owns a GError; converts to GError** for out-parameters.
class GErrorHolder {
public:
    GErrorHolder() = default;
    GErrorHolder(const GErrorHolder&) = delete;
    GErrorHolder& operator=(const GErrorHolder&) = delete;
    ~GErrorHolder() { g_clear_error(&error_); }
    operator GError**() { return &error_; }
    GError* get() const { return error_; }
    explicit operator bool() const { return error_ != nullptr; }
    const char* message() const { return error_ ? error_->message : ""; }

private:
    GError* error_ = nullptr;
};

} // namespace ombrix::ui
