#include "cad/SwApp.h"

namespace qel
{

namespace
{
constexpr DispatchId kActiveDocument{1, "ActiveDocument"};
constexpr DispatchId kFallbackDocument{9, "FallbackDocument"};
constexpr DispatchId kRevisionNumber{12, "RevisionNumber"};
constexpr DispatchId kCloseDocument{33, "CloseDocument"};
constexpr DispatchId kLoadFile{49, "LoadFile"};
constexpr DispatchId kFirstDocument{85, "FirstDocument"};
constexpr DispatchId kActivateDocument{91, "ActivateDocument"};
constexpr DispatchId kOpenDocument{99, "OpenDocument"};
} // namespace

std::string CSwApp::GetRevisionNumber()
{
    return CallText(kRevisionNumber);
}

CSwDoc CSwApp::GetFirstDocument()
{
    return CSwDoc(CallObject(kFirstDocument, DispatchKind::Method), true);
}

CSwDoc CSwApp::GetFallbackDocument()
{
    return CSwDoc(CallObject(kFallbackDocument, DispatchKind::Method), true);
}

bool CSwApp::LoadSatFile(const char* path)
{
    CVariant pathArg = CVariant::Text(path);
    CVariant noOptions = CVariant::Text(nullptr);
    const CVariant answer = Call(kLoadFile, DispatchKind::Method, {&pathArg, &noOptions});
    return !(answer.Value().vt == VT_BOOL && answer.Value().boolVal == VARIANT_FALSE);
}

CSwDoc CSwApp::GetActiveDocument()
{
    return CSwDoc(CallObject(kActiveDocument, DispatchKind::PropertyGet), true);
}

void CSwApp::CloseDocument(const wchar_t* title)
{
    CVariant titleArg = CVariant::WideText(title);
    CallWithoutResult(kCloseDocument, DispatchKind::Method, {&titleArg});
}

CSwDoc CSwApp::OpenPartFile(const char* path, long type, long* error)
{
    CVariant pathArg = CVariant::Text(path);
    CVariant typeArg = CVariant::Long(type);
    CVariant no = CVariant::Bool(false);
    CVariant errorArg = CVariant::LongRef(error);
    return CSwDoc(CallObject(kOpenDocument, DispatchKind::Method,
                             {&pathArg, &typeArg, &no, &no, &no, &errorArg}),
                  true);
}

void CSwApp::ActivateDocument(const wchar_t* title, long* error)
{
    CVariant titleArg = CVariant::WideText(title);
    CVariant no = CVariant::Bool(false);
    CVariant errorArg = CVariant::LongRef(error);
    Call(kActivateDocument, DispatchKind::Method, {&titleArg, &no, &errorArg});
}

} // namespace qel
