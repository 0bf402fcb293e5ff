// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The running program's window read over UI Automation, as a Windows screen reader reads it: a
// client of its own finds the window Coltavenira, lists its elements and checks the four lists
// by name and automation id, both labels' texts and band 1's keyboard focus; then it presses
// Down twice, as a user does, and waits for the result label to read "1 Ohms ± 0". It prints
// every element it saw and exits 0 when all holds, 1 when something does not. Run by
// tests/lectura_uia.sh under Wine 10 or later, whose UI Automation client it needs.
//
// MinGW-w64 10 (Debian 12's) names UI Automation's constants but not its interfaces, so the few
// this client calls are declared here, in their own namespace so that a newer MinGW's do not
// clash. Only the order of a COM interface's methods matters to the caller: the methods this client
// never calls keep their places, declared without their parameters.
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace uia {

constexpr CLSID CLSID_CUIAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr IID IID_IUIAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};

using PROPERTYID = int;
constexpr int TreeScope_Descendants = 4;
constexpr PROPERTYID ControlTypeProperty = 30003;
constexpr PROPERTYID NameProperty = 30005;
constexpr PROPERTYID HasKeyboardFocusProperty = 30008;
constexpr PROPERTYID AutomationIdProperty = 30011;
constexpr long ComboBoxControl = 50003;
constexpr long TextControl = 50020;

struct IUIAutomationCondition : IUnknown
{
};

struct IUIAutomationElement;

struct IUIAutomationElementArray : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE get_Length(int* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetElement(int index, IUIAutomationElement** element) = 0;
};

struct IUIAutomationElement : IUnknown
{
    virtual void STDMETHODCALLTYPE SetFocus() = 0;
    virtual void STDMETHODCALLTYPE GetRuntimeId() = 0;
    virtual void STDMETHODCALLTYPE FindFirst() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll(int scope, IUIAutomationCondition* condition,
                                              IUIAutomationElementArray** found) = 0;
    virtual void STDMETHODCALLTYPE FindFirstBuildCache() = 0;
    virtual void STDMETHODCALLTYPE FindAllBuildCache() = 0;
    virtual void STDMETHODCALLTYPE BuildUpdatedCache() = 0;
    virtual void STDMETHODCALLTYPE GetCurrentPropertyValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(PROPERTYID property,
                                                                BOOL ignoreDefault,
                                                                VARIANT* value) = 0;
};

struct IUIAutomation : IUnknown
{
    virtual void STDMETHODCALLTYPE CompareElements() = 0;
    virtual void STDMETHODCALLTYPE CompareRuntimeIds() = 0;
    virtual void STDMETHODCALLTYPE GetRootElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window,
                                                        IUIAutomationElement** element) = 0;
    virtual void STDMETHODCALLTYPE ElementFromPoint() = 0;
    virtual void STDMETHODCALLTYPE GetFocusedElement() = 0;
    virtual void STDMETHODCALLTYPE GetRootElementBuildCache() = 0;
    virtual void STDMETHODCALLTYPE ElementFromHandleBuildCache() = 0;
    virtual void STDMETHODCALLTYPE ElementFromPointBuildCache() = 0;
    virtual void STDMETHODCALLTYPE GetFocusedElementBuildCache() = 0;
    virtual void STDMETHODCALLTYPE CreateTreeWalker() = 0;
    virtual void STDMETHODCALLTYPE get_ControlViewWalker() = 0;
    virtual void STDMETHODCALLTYPE get_ContentViewWalker() = 0;
    virtual void STDMETHODCALLTYPE get_RawViewWalker() = 0;
    virtual void STDMETHODCALLTYPE get_RawViewCondition() = 0;
    virtual void STDMETHODCALLTYPE get_ControlViewCondition() = 0;
    virtual void STDMETHODCALLTYPE get_ContentViewCondition() = 0;
    virtual void STDMETHODCALLTYPE CreateCacheRequest() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUIAutomationCondition** condition) = 0;
};

} // namespace uia

namespace {

// What a screen reader learns of one element. The properties are read by id, with
// GetCurrentPropertyValueEx: Wine 10's GetCurrentPropertyValue, get_CurrentName and their kin are
// stubs.
struct Elemento
{
    long tipo = 0;
    std::wstring nombre;
    std::wstring id;
    bool foco = false;
};

std::wstring texto(uia::IUIAutomationElement* e, uia::PROPERTYID propiedad)
{
    VARIANT v;
    VariantInit(&v);
    std::wstring t;
    if (SUCCEEDED(e->GetCurrentPropertyValueEx(propiedad, FALSE, &v)) && v.vt == VT_BSTR &&
        v.bstrVal)
        t.assign(v.bstrVal, SysStringLen(v.bstrVal));
    VariantClear(&v);
    return t;
}

long entero(uia::IUIAutomationElement* e, uia::PROPERTYID propiedad)
{
    VARIANT v;
    VariantInit(&v);
    long n = 0;
    if (SUCCEEDED(e->GetCurrentPropertyValueEx(propiedad, FALSE, &v))) {
        if (v.vt == VT_I4)
            n = v.lVal;
        else if (v.vt == VT_BOOL)
            n = v.boolVal != VARIANT_FALSE;
    }
    VariantClear(&v);
    return n;
}

// Printed as UTF-8, whatever the console's code page.
std::string utf8(const std::wstring& t)
{
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, t.data(), int(t.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, t.data(), int(t.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Every element under the window, in the order UI Automation gives them.
std::vector<Elemento> elementos(uia::IUIAutomation* automatizacion, HWND ventana)
{
    std::vector<Elemento> lista;
    uia::IUIAutomationElement* raiz = nullptr;
    uia::IUIAutomationCondition* todos = nullptr;
    uia::IUIAutomationElementArray* hallados = nullptr;
    int n = 0;
    HRESULT hr = automatizacion->ElementFromHandle(ventana, &raiz);
    if (SUCCEEDED(hr) && raiz)
        hr = automatizacion->CreateTrueCondition(&todos);
    if (SUCCEEDED(hr) && todos)
        hr = raiz->FindAll(uia::TreeScope_Descendants, todos, &hallados);
    if (SUCCEEDED(hr) && hallados)
        hr = hallados->get_Length(&n);
    if (FAILED(hr))
        std::printf("the window's elements cannot be listed: 0x%08lx\n", hr);
    for (int i = 0; i < n; ++i) {
        uia::IUIAutomationElement* e = nullptr;
        if (FAILED(hallados->GetElement(i, &e)) || !e)
            continue;
        lista.push_back({entero(e, uia::ControlTypeProperty), texto(e, uia::NameProperty),
                         texto(e, uia::AutomationIdProperty),
                         entero(e, uia::HasKeyboardFocusProperty) != 0});
        e->Release();
    }
    for (IUnknown* u : std::initializer_list<IUnknown*>{hallados, todos, raiz})
        if (u)
            u->Release();
    return lista;
}

const Elemento* busca(const std::vector<Elemento>& lista, long tipo, const std::wstring& nombre)
{
    for (const Elemento& e : lista)
        if (e.tipo == tipo && e.nombre == nombre)
            return &e;
    return nullptr;
}

int fallos = 0;

void comprueba(bool cierto, const std::wstring& que)
{
    std::printf("%s: %s\n", cierto ? "ok" : "FAIL", utf8(que).c_str());
    if (!cierto)
        ++fallos;
}

void pulsa(WORD tecla)
{
    INPUT teclas[2] = {};
    teclas[0].type = teclas[1].type = INPUT_KEYBOARD;
    teclas[0].ki.wVk = teclas[1].ki.wVk = tecla;
    teclas[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, teclas, sizeof(INPUT));
    Sleep(100);
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND ventana = nullptr;
    for (int i = 0; i < 300 && !ventana; ++i, Sleep(100))
        ventana = FindWindowW(nullptr, L"Coltavenira");
    if (!ventana) {
        std::printf("FAIL: no window Coltavenira\n");
        return 1;
    }
    uia::IUIAutomation* automatizacion = nullptr;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const HRESULT hr =
        CoCreateInstance(uia::CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                         uia::IID_IUIAutomation, reinterpret_cast<void**>(&automatizacion));
    if (FAILED(hr) || !automatizacion) {
        std::printf("FAIL: no UI Automation client (CoCreateInstance: 0x%08lx)\n", hr);
        return 1;
    }

    const std::vector<Elemento> inicio = elementos(automatizacion, ventana);
    for (const Elemento& e : inicio)
        std::printf("%ld id=\"%s\" \"%s\"%s\n", e.tipo, utf8(e.id).c_str(), utf8(e.nombre).c_str(),
                    e.foco ? " (focus)" : "");

    const wchar_t* bandas[] = {L"Banda 1: primera cifra", L"Banda 2: segunda cifra",
                               L"Banda 3: multiplicador", L"Banda 4: tolerancia"};
    for (int i = 0; i < 4; ++i) {
        const std::wstring id = L"b" + std::to_wstring(i + 1);
        const Elemento* lista = busca(inicio, uia::ComboBoxControl, bandas[i]);
        comprueba(lista && lista->id == id,
                  L"a list \"" + std::wstring(bandas[i]) + L"\", id " + id);
        if (i == 0)
            comprueba(lista && lista->foco, L"band 1 has the keyboard focus at start");
    }
    comprueba(busca(inicio, uia::TextControl,
                    L"Ingrese las bandas de colores para hallar el valor de la COLTAVENIRA:"),
              L"the instruction as a text");
    comprueba(busca(inicio, uia::TextControl, L"0 Ohms \u00b1 0"),
              L"\"0 Ohms \u00b1 0\" as a text");

    // Down twice in band 1, from no choice: Negro, then Marron. The label changes at once; the
    // wait is for the keys to travel through Wine and the X server.
    SetForegroundWindow(ventana);
    pulsa(VK_DOWN);
    pulsa(VK_DOWN);
    const std::wstring esperado = L"1 Ohms \u00b1 0";
    const Elemento* leido = nullptr;
    std::vector<Elemento> despues;
    // A whole listing takes a second or more under Wine: the wait is by the clock.
    for (const ULONGLONG hasta = GetTickCount64() + 10000;; Sleep(200)) {
        despues = elementos(automatizacion, ventana);
        leido = busca(despues, uia::TextControl, esperado);
        if (leido || GetTickCount64() > hasta)
            break;
    }
    std::wstring visto;
    for (const Elemento& e : despues)
        if (e.tipo == uia::TextControl && e.id == L"Label1")
            visto = e.nombre;
    comprueba(leido, L"after Down, Down in band 1 the result reads \"" + esperado +
                         L"\" (Label1: \"" + visto + L"\")");

    automatizacion->Release();
    CoUninitialize();
    std::printf("%s\n",
                fallos ? "FAIL: the window does not read as it should" : "all read as expected");
    return fallos ? 1 : 0;
}
