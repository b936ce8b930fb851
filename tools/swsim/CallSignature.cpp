#include "tools/swsim/CallSignature.h"

namespace swsim
{
namespace
{

using A = ArgType;
constexpr ObjectKind kApp = ObjectKind::App;
constexpr ObjectKind kDoc = ObjectKind::Doc;
constexpr ObjectKind kView = ObjectKind::View;

constexpr CallSignature kSignatures[] = {
    {kApp, 12, CallKind::Method, 0, {}},                 // revision
    {kApp, 85, CallKind::Method, 0, {}},                 // first document
    {kApp, 9, CallKind::Method, 0, {}},                  // fallback document
    {kApp, 49, CallKind::Method, 2, {A::Text, A::Text}}, // load SAT file
    {kApp, 1, CallKind::Get, 0, {}},                     // active document
    {kApp, 33, CallKind::Method, 1, {A::Text}},          // close by title
    {kApp,
     99,
     CallKind::Method,
     6,
     {A::Text, A::Int, A::Bool, A::Bool, A::Bool, A::IntOut}},         // open file
    {kApp, 91, CallKind::Method, 3, {A::Text, A::Bool, A::IntOut}},    // activate by title
    {kDoc, 0x10049, CallKind::Method, 0, {}},                          // type
    {kDoc, 0x101C1, CallKind::Method, 0, {}},                          // next document
    {kDoc, 0x1018F, CallKind::Method, 3, {A::Text, A::Text, A::Text}}, // add property
    {kDoc, 0x10025, CallKind::Method, 1, {A::Text}},                   // save as
    {kDoc, 0x10047, CallKind::Method, 0, {}},                          // title
    {kDoc, 0x10002, CallKind::Get, 0, {}},                             // view
    {kDoc, 0x100E1, CallKind::Put, 1, {A::Bool}},                      // Boolean property
    {kDoc, 0x10065, CallKind::Method, 0, {}},                          // refresh
    {kDoc, 0x10068, CallKind::Method, 0, {}},                          // last call
    {kView, 2, CallKind::Method, 0, {}},                               // window handle
    {kView, 17, CallKind::Method, 0, {}},                              // redraw
};

} // namespace

const CallSignature* FindCallSignature(ObjectKind object, DISPID id)
{
    for (const CallSignature& signature : kSignatures)
    {
        if (signature.object == object && signature.id == id)
        {
            return &signature;
        }
    }
    return nullptr;
}

} // namespace swsim
