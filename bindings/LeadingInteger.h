// The one way the system reads a number out of a text that the host hands
// over (parameter values, environment values).
#pragma once

namespace qel
{

// Reads the leading decimal integer of text: optional white space, an optional
// sign, then the leading digits. Returns 0 for a null text or when no digit
// follows. Values beyond the 32-bit range saturate at its limits.
int ReadLeadingInteger(const char* text);

} // namespace qel
