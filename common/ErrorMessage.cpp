#include "common/ErrorMessage.h"

#include <atomic>
#include <utility>

#include "common/Platform.h"

namespace qel
{

namespace
{

// The latest text thrown outside an export; swapped whole, never written in
// place, so a thread only ever frees a text that it has taken out.
class CLooseText
{
public:
    CLooseText() = default;
    CLooseText(const CLooseText&) = delete;
    CLooseText& operator=(const CLooseText&) = delete;
    ~CLooseText() { delete m_pText.exchange(nullptr); }

    ErrorText Keep(std::string text)
    {
        auto* kept = new std::string(std::move(text));
        delete m_pText.exchange(kept);
        return kept->c_str();
    }

private:
    std::atomic<std::string*> m_pText{nullptr};
};

CLooseText s_looseText;

} // namespace

CErrorMessage::CErrorMessage()
    : m_pOuter(ThreadErrorMessage()), m_bKeeper(SetThreadErrorMessage(this))
{
}

CErrorMessage::~CErrorMessage()
{
    if (m_bKeeper)
        SetThreadErrorMessage(m_pOuter);
}

ErrorText CErrorMessage::Keep(std::string text)
{
    CErrorMessage* keeper = ThreadErrorMessage();
    if (keeper == nullptr)
        return s_looseText.Keep(std::move(text));
    // Every text stays until the call ends: a failure caught and kept while
    // another step fails (a dialog that reports its first failure) still
    // points at its own characters.
    keeper->m_texts.push_front(std::move(text));
    return keeper->m_texts.front().c_str();
}

void CErrorMessage::Throw(std::string text)
{
    throw Keep(std::move(text));
}

} // namespace qel
