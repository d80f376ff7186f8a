#pragma once
// A COM object of this program's own, made with new and held by references: one count of them,
// kept atomic because the system may take and drop references from other threads (a screen
// reader's calls, OLE's drag loop), and QueryInterface over IUnknown and the interfaces the object
// says it answers to.

#include <windows.h>
// After windows.h, which it needs.
#include <unknwn.h>

#include <atomic>

namespace ferryl {

template <typename Interface>
class ComObject : public Interface {
  public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || AnswersTo(riid)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

  protected:
    // Only Release ends the object: it starts with the one reference its maker holds.
    virtual ~ComObject() = default;
    // The interfaces besides IUnknown that QueryInterface hands out this object for.
    virtual bool AnswersTo(REFIID riid) const noexcept = 0;

  private:
    std::atomic<ULONG> m_references{1};
};

}  // namespace ferryl
