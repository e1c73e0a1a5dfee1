// One scoped owner for each kind of Win32 resource.
#ifndef NPDESKLAUNCH_COMMON_UNIQUE_RESOURCE_H
#define NPDESKLAUNCH_COMMON_UNIQUE_RESOURCE_H

#include <windows.h>

// Owns one resource described by Traits (its type, its "no value" and its close function).
template <typename Traits> class UniqueResource {
  public:
    typedef typename Traits::Type Type;

    UniqueResource() : value_(Traits::Null()) {}
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Null(); }

    // Closes what is held and hands out the slot for a call that fills it.
    Type* put() {
        reset();
        return &value_;
    }

    void reset(Type value = Traits::Null()) {
        if (value_ != Traits::Null()) {
            Traits::Close(value_);
        }
        value_ = value;
    }

    // Gives up ownership: the caller becomes the owner.
    Type release() {
        Type value = value_;
        value_ = Traits::Null();
        return value;
    }

  private:
    Type value_;
};

struct KernelHandleTraits {
    typedef HANDLE Type;
    static HANDLE Null() { return NULL; }
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
typedef UniqueResource<KernelHandleTraits> UniqueHandle;

struct ModuleTraits {
    typedef HMODULE Type;
    static HMODULE Null() { return NULL; }
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};
typedef UniqueResource<ModuleTraits> UniqueModule;

struct WindowTraits {
    typedef HWND Type;
    static HWND Null() { return NULL; }
    static void Close(HWND window) { ::DestroyWindow(window); }
};
typedef UniqueResource<WindowTraits> UniqueWindow;

#endif
