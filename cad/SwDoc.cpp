#include "cad/SwDoc.h"

namespace qel
{

namespace
{
enum DocDispId : DISPID
{
    kGetType = 0x10049,
    kGetNextDocument = 0x101C1,
    kAddCustomProperty = 0x1018F,
    kSaveAs = 0x10025,
    kGetTitle = 0x10047,
    kView = 0x10002,
    kDocumentFlag = 0x100E1,
    kRefreshDocument = 0x10065,
    kFinishOpening = 0x10068,
};
}

long CSwDoc::GetType()
{
    return CallLong(kGetType);
}

CSwDoc CSwDoc::GetNextDocument()
{
    return CSwDoc(CallObject(kGetNextDocument, DispatchKind::Method), true);
}

void CSwDoc::AddTextProperty(const char* name, const char* value)
{
    CVariant nameArg = CVariant::Text(name);
    CVariant typeArg = CVariant::Text("Text");
    CVariant valueArg = CVariant::Text(value);
    Call(kAddCustomProperty, DispatchKind::Method, {&nameArg, &typeArg, &valueArg});
}

void CSwDoc::SaveAs(const char* path)
{
    CVariant pathArg = CVariant::Text(path);
    Call(kSaveAs, DispatchKind::Method, {&pathArg});
}

std::wstring CSwDoc::GetTitle()
{
    return CallWideText(kGetTitle);
}

CSwView CSwDoc::GetView()
{
    return CSwView(CallObject(kView, DispatchKind::PropertyGet), true);
}

void CSwDoc::SetDocumentFlag(bool value)
{
    CVariant valueArg = CVariant::Bool(value);
    CallWithoutResult(kDocumentFlag, DispatchKind::PropertyPut, {&valueArg});
}

void CSwDoc::RefreshDocument()
{
    CallWithoutResult(kRefreshDocument, DispatchKind::Method);
}

void CSwDoc::FinishOpening()
{
    CallWithoutResult(kFinishOpening, DispatchKind::Method);
}

} // namespace qel
