// The COM server frame: the class factory that DllGetClassObject hands out,
// and the count of live objects and locks that DllCanUnloadNow reports.
#pragma once

#include <windows.h>

namespace tapora {

// {26CA1951-5391-48C1-AC94-17CF92B65759}
inline constexpr CLSID CLSID_InputMethod = {0x26CA1951, 0x5391, 0x48C1,
                                            {0xAC, 0x94, 0x17, 0xCF, 0x92, 0xB6, 0x57, 0x59}};

// One per DllGetClassObject call; it remembers the class it was asked for and
// builds input methods only for CLSID_InputMethod.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(REFCLSID clsid);
  ~ClassFactory();
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  LONG refCount_;
  CLSID clsid_;
};

}  // namespace tapora
