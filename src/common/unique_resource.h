// One scoped owner for each kind of Win32 resource.
#ifndef NPDESKLAUNCH_COMMON_UNIQUE_RESOURCE_H
#define NPDESKLAUNCH_COMMON_UNIQUE_RESOURCE_H

#include <windows.h>
#include <objbase.h>

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

struct FileTraits {
    typedef HANDLE Type;
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
typedef UniqueResource<FileTraits> UniqueFile;

// A search made by FindFirstFileW.
struct FindHandleTraits {
    typedef HANDLE Type;
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { ::FindClose(handle); }
};
typedef UniqueResource<FindHandleTraits> UniqueFindHandle;

struct RegKeyTraits {
    typedef HKEY Type;
    static HKEY Null() { return NULL; }
    static void Close(HKEY key) { ::RegCloseKey(key); }
};
typedef UniqueResource<RegKeyTraits> UniqueRegKey;

struct IconTraits {
    typedef HICON Type;
    static HICON Null() { return NULL; }
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};
typedef UniqueResource<IconTraits> UniqueIcon;

// A device context made by CreateCompatibleDC.
struct MemoryDcTraits {
    typedef HDC Type;
    static HDC Null() { return NULL; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
typedef UniqueResource<MemoryDcTraits> UniqueMemoryDc;

struct GdiObjectTraits {
    typedef HGDIOBJ Type;
    static HGDIOBJ Null() { return NULL; }
    static void Close(HGDIOBJ object) { ::DeleteObject(object); }
};
typedef UniqueResource<GdiObjectTraits> UniqueGdiObject;

struct BitmapTraits {
    typedef HBITMAP Type;
    static HBITMAP Null() { return NULL; }
    static void Close(HBITMAP bitmap) { ::DeleteObject(bitmap); }
};
typedef UniqueResource<BitmapTraits> UniqueBitmap;

struct HookTraits {
    typedef HHOOK Type;
    static HHOOK Null() { return NULL; }
    static void Close(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
};
typedef UniqueResource<HookTraits> UniqueHook;

// A window's device context from GetDC (client area) or GetWindowDC (whole window), given back
// with ReleaseDC to the same window.
class UniqueWindowDc {
  public:
    enum Area { kClientArea, kWholeWindow };
    explicit UniqueWindowDc(HWND window, Area area = kClientArea)
        : window_(window), dc_(area == kWholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
    ~UniqueWindowDc() {
        if (dc_ != NULL) {
            ::ReleaseDC(window_, dc_);
        }
    }
    UniqueWindowDc(const UniqueWindowDc&) = delete;
    UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != NULL; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for the guard's lifetime; the previous one returns.
class ScopedSelection {
  public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelection() {
        if (previous_ != NULL && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

    bool succeeded() const { return previous_ != NULL && previous_ != HGDI_ERROR; }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A critical section, alive from construction to destruction.
class CriticalSection {
  public:
    CriticalSection() { ::InitializeCriticalSection(&section_); }
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { ::EnterCriticalSection(&section_); }
    void Leave() { ::LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

// Holds a critical section for the guard's lifetime.
class ScopedLock {
  public:
    explicit ScopedLock(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~ScopedLock() { section_.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

  private:
    CriticalSection& section_;
};

// One COM interface pointer, released when the owner goes.
template <typename Interface> class ComPtr {
  public:
    ComPtr() : pointer_(NULL) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != NULL; }

    // The slot for a call that fills it, as void** for CoCreateInstance and QueryInterface.
    void** put_void() {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    Interface** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_ != NULL) {
            pointer_->Release();
            pointer_ = NULL;
        }
    }

  private:
    Interface* pointer_;
};

// COM set up on the calling thread (apartment-threaded) for the owner's lifetime. A CoInitialize
// that succeeded (S_OK, or S_FALSE when the thread had it already) is balanced by CoUninitialize;
// a thread already in the multithreaded apartment keeps it. Release every interface pointer
// before the owner goes: declare the owner first.
class ComApartment {
  public:
    ComApartment() : hr_(::CoInitialize(NULL)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    const HRESULT hr_;
};

#endif
