#include "common/ErrorMessage.h"

#include <utility>

namespace qel
{

void CErrorMessage::Throw(std::string text)
{
    m_text = std::move(text);
    throw static_cast<ErrorText>(m_text.c_str());
}

} // namespace qel
