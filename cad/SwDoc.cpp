#include "cad/SwDoc.h"

namespace qel
{

namespace
{
constexpr DispatchId kGetType{0x10049, "GetType"};
constexpr DispatchId kGetNextDocument{0x101C1, "GetNextDocument"};
constexpr DispatchId kAddCustomProperty{0x1018F, "AddCustomProperty"};
constexpr DispatchId kSaveAs{0x10025, "SaveAs"};
constexpr DispatchId kGetTitle{0x10047, "GetTitle"};
constexpr DispatchId kView{0x10002, "View"};
constexpr DispatchId kDocumentFlag{0x100E1, "DocumentFlag"};
constexpr DispatchId kRefreshDocument{0x10065, "RefreshDocument"};
constexpr DispatchId kFinishOpening{0x10068, "FinishOpening"};
} // namespace

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

bool CSwDoc::SaveAs(const char* path)
{
    CVariant pathArg = CVariant::Text(path);
    const CVariant answer = Call(kSaveAs, DispatchKind::Method, {&pathArg});
    // Only a plain false is a refusal: other versions answer other things.
    return !(answer.Value().vt == VT_BOOL && answer.Value().boolVal == VARIANT_FALSE);
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
