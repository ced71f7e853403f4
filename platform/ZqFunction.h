// Device framework: the reference-counted callable, its safe pointer and the run-time error they
// raise.
#pragma once

#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>

class ZqRuntimeError : public std::exception {
  public:
    explicit ZqRuntimeError(const std::string& p_strMsg) : m_strMsg(p_strMsg) {}
    explicit ZqRuntimeError(const char* p_szMsg) : m_strMsg(p_szMsg ? p_szMsg : "") {}
    const char* what() const noexcept override { return m_strMsg.c_str(); }

  private:
    std::string m_strMsg;
};

// One reference count, shared by every SafePointer that holds the same object.
struct ZqRefCount {
    std::mutex mutex;
    const void* pObject = nullptr;  // the object this count belongs to
    int nCount = 0;
    bool bClosed = false;  // the object is being destroyed: no new reference may be taken
};

// Registry of the counts of all objects held by safe pointers, keyed by the object's address.
class ZqRefCountManager {
  public:
    static ZqRefCountManager& instance();

    std::shared_ptr<ZqRefCount> registerObject(const void* p_pObject);  // count 1
    std::shared_ptr<ZqRefCount> find(const void* p_pObject);
    void unregisterObject(const void* p_pObject);

  private:
    struct Impl;
    ZqRefCountManager();
    Impl* m_pImpl;
};

// Holds a heap object and deletes it when the last holder goes. Misuse is reported on standard
// output and raised as ZqRuntimeError.
template <typename T>
class SafePointer {
  public:
    SafePointer() = default;

    explicit SafePointer(T* p_pObject) {
        if (!p_pObject) fail("Construct from NULL original pointer");
        m_pObject = p_pObject;
        m_pCount = ZqRefCountManager::instance().registerObject(p_pObject);
    }

    SafePointer(const SafePointer& p_other) { attach(p_other); }

    SafePointer& operator=(const SafePointer& p_other) {
        if (this != &p_other) {
            SafePointer copy(p_other);
            swap(copy);
        }
        return *this;
    }

    ~SafePointer() {
        try {
            reset();
        } catch (const ZqRuntimeError& e) {
            std::puts(e.what());  // a destructor cannot raise; the report is all that is left
        }
    }

    T* get() const { return m_pObject; }
    T* operator->() const { return m_pObject; }
    T& operator*() const { return *m_pObject; }
    explicit operator bool() const { return m_pObject != nullptr; }

    // Drops this holder's reference; deletes the object when it was the last one.
    void reset() {
        if (!m_pObject) return;
        bool bLast = dec_reference();
        T* pObject = m_pObject;
        m_pObject = nullptr;
        m_pCount.reset();
        if (bLast) {
            ZqRefCountManager::instance().unregisterObject(pObject);
            delete pObject;
        }
    }

    void swap(SafePointer& p_other) {
        std::swap(m_pObject, p_other.m_pObject);
        std::swap(m_pCount, p_other.m_pCount);
    }

  private:
    [[noreturn]] static void fail(const char* p_szReason) {
        std::string strText =
            std::string("SafePointer Report:") + typeid(T).name() + " " + p_szReason;
        std::puts(strText.c_str());
        throw ZqRuntimeError(strText);
    }

    void attach(const SafePointer& p_other) {
        if (!p_other.m_pObject) fail("Construct from NULL <T>pointer");
        std::shared_ptr<ZqRefCount> pCount = ZqRefCountManager::instance().find(p_other.m_pObject);
        if (!pCount) fail("Already destructed 1");
        std::lock_guard<std::mutex> lock(pCount->mutex);
        if (pCount->bClosed) fail("Already destructed 2");
        if (pCount->nCount <= 0) fail("Already destructed 3");
        inc_reference(*pCount, p_other.m_pObject);
        m_pObject = p_other.m_pObject;
        m_pCount = pCount;
    }

    static void inc_reference(ZqRefCount& p_count, const T* p_pObject) {
        if (p_count.pObject != p_pObject)
            throw ZqRuntimeError("not valid pointer in inc_reference ");
        ++p_count.nCount;
    }

    bool dec_reference() {
        std::lock_guard<std::mutex> lock(m_pCount->mutex);
        if (m_pCount->pObject != m_pObject) {
            m_pObject = nullptr;
            m_pCount.reset();
            throw ZqRuntimeError("not valid pointer in dec_reference");
        }
        if (--m_pCount->nCount > 0) return false;
        m_pCount->bClosed = true;
        return true;
    }

    T* m_pObject = nullptr;
    std::shared_ptr<ZqRefCount> m_pCount;
};

// A callable object without arguments.
template <typename R>
class ZqFuncObj0 {
  public:
    virtual ~ZqFuncObj0() = default;
    virtual R operator()() = 0;
};

template <typename R>
class ZqFreeFuncObj0 : public ZqFuncObj0<R> {
  public:
    explicit ZqFreeFuncObj0(R (*p_pfn)()) : m_pfn(p_pfn) {}
    R operator()() override { return m_pfn(); }

  private:
    R (*m_pfn)();
};

template <typename T, typename R>
class ZqMemberFuncObj0 : public ZqFuncObj0<R> {
  public:
    ZqMemberFuncObj0(T* p_pObject, R (T::*p_pfn)()) : m_pObject(p_pObject), m_pfn(p_pfn) {}
    R operator()() override { return (m_pObject->*m_pfn)(); }

  private:
    T* m_pObject;
    R (T::*m_pfn)();
};

// The framework's reference-counted callable: copies share one callable object.
template <typename R>
class function {
  public:
    function() = default;
    explicit function(ZqFuncObj0<R>* p_pObject) : m_pObject(p_pObject) {}
    function(R (*p_pfn)()) : m_pObject(new ZqFreeFuncObj0<R>(p_pfn)) {}  // NOLINT: implicit

    R operator()() const { return (*m_pObject)(); }
    explicit operator bool() const { return static_cast<bool>(m_pObject); }

  private:
    SafePointer<ZqFuncObj0<R>> m_pObject;
};

template <typename T, typename R>
function<R> bind_funcobj0(T* p_pObject, R (T::*p_pfn)()) {
    return function<R>(new ZqMemberFuncObj0<T, R>(p_pObject, p_pfn));
}
