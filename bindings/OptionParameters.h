// The parameter list of the host's option texts: the 71 option keys, "=" between
// key and value, "|" between items.
#pragma once

#include "bindings/ParameterList.h"

namespace qel
{

class COptionParameters : public CParameterList
{
public:
    // Indexes of the keys the plug-in reads.
    enum EKey : unsigned
    {
        kShowMessages = 0,
        kLanguageId = 1,
        kOutputFileName = 2,
        kIniFileName = 3,
    };
    static constexpr unsigned kKeyCount = 71;

    COptionParameters();

protected:
    void OnValueChanged(unsigned keyIndex) override;
};

} // namespace qel
