#include "bindings/LibraryBinding.h"

#include "bindings/LibrarySearch.h"
#include "common/ErrorMessage.h"
#include "common/Platform.h"

namespace qel
{

struct SMessageCatalogue
{
    const char* pszLibraryError;  // library file name, error code
    const char* pszFunctionError; // function name, library file name
};

namespace
{

const SMessageCatalogue kEnglish = {
    "Error loading dll \"%s\" !\n\nError code: %ld",
    "Error loading function \"%s\" in dll \"%s\" !",
};
const SMessageCatalogue kGerman = {
    "Fehler beim Laden der Dll \"%s\" !\n\nFehlercode: %ld",
    "Funktion \"%s\" in Dll \"%s\" konnte nicht geladen werden !",
};
const SMessageCatalogue kFrench = {
    "Erreur de chargement de la DLL \"%s\".\n\nCode erreur: %ld",
    "Impossible de charger la fonction \"%s\" de la DLL \"%s\".",
};

constexpr unsigned short kPrimaryLanguageMask = 0x3FF;
constexpr unsigned short kPrimaryLanguageGerman = 0x07;

// Room for the longest message, with a 259-character name twice.
constexpr std::size_t kMessageSize = 1024;

} // namespace

CLibraryBinding::CLibraryBinding(const char* libraryName, int& loadCounter)
    : m_nMessageLanguage(0), m_pCatalogue(nullptr), m_szLibraryName(), m_rnLoadCounter(loadCounter),
      m_bResolved(false)
{
    SetMessageLanguage(0);
    // A longer name is cut to its first 259 characters.
    CopyBounded(m_szLibraryName, sizeof m_szLibraryName, libraryName);
}

CLibraryBinding::~CLibraryBinding()
{
    if (IsLoaded())
        __atomic_sub_fetch(&m_rnLoadCounter, 1, __ATOMIC_RELAXED);
    // Each object releases the reference its own load took; the library leaves
    // the process with the last one.
    m_module.Reset();
}

int CLibraryBinding::SetMessageLanguage(int languageCode)
{
    m_nMessageLanguage = languageCode;
    if (languageCode >= 100 && languageCode <= 105)
        m_pCatalogue = &kEnglish;
    else if (languageCode >= 106 && languageCode <= 108)
        m_pCatalogue = &kGerman;
    else if (languageCode >= 109 && languageCode <= 112)
        m_pCatalogue = &kFrench;
    else if ((SystemDefaultLangId() & kPrimaryLanguageMask) == kPrimaryLanguageGerman)
        m_pCatalogue = &kGerman;
    else
        m_pCatalogue = &kEnglish;
    return languageCode;
}

void CLibraryBinding::LoadFunctions(SFunction* functions, std::size_t count)
{
    if (m_bResolved)
        return;
    if (!IsLoaded())
    {
        DWORD errorCode = ERROR_SUCCESS;
        m_module.Reset(LoadLibraryFromSearchFolders(m_szLibraryName, errorCode));
        if (!IsLoaded())
            ThrowLibraryError(errorCode);
        __atomic_add_fetch(&m_rnLoadCounter, 1, __ATOMIC_RELAXED);
    }
    // After a missing function the list is resolved again on the next Load,
    // which fails again: a wrapper never calls an unresolved address.
    for (std::size_t i = 0; i < count; ++i)
    {
        functions[i].pfnAddress = GetProcAddress(m_module.Get(), functions[i].pszName);
        if (functions[i].pfnAddress == nullptr)
            ThrowFunctionError(functions[i].pszName);
    }
    m_bResolved = true;
}

void CLibraryBinding::ThrowLibraryError(DWORD errorCode) const
{
    // The text is kept for the call that fails: the binding is destroyed
    // while its error travels.
    char text[kMessageSize];
    FormatBounded(text, sizeof text, m_pCatalogue->pszLibraryError, m_szLibraryName,
                  static_cast<long>(errorCode));
    CErrorMessage::Throw(text);
}

void CLibraryBinding::ThrowFunctionError(const char* functionName) const
{
    char text[kMessageSize];
    FormatBounded(text, sizeof text, m_pCatalogue->pszFunctionError, functionName, m_szLibraryName);
    CErrorMessage::Throw(text);
}

} // namespace qel
