// The Save dialog in which the user names a part file when none can be built
// from the part's attributes. A seam of its own, so that the driver can be
// given a name without a window.
#pragma once

#include <cstddef>

namespace qel
{

class IPartFileDialog
{
public:
    virtual ~IPartFileDialog() = default;

    // Shows the dialog modally in initialDirectory with title. True when the
    // user ended it with OK; path (pathSize bytes) then holds the full path.
    virtual bool Choose(const char* initialDirectory, const char* title, char* path,
                        std::size_t pathSize) = 0;
};

} // namespace qel
