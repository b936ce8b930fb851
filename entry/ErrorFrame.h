// The error frame of an export: runs the call's work and turns every failure
// into an error text, so that no exception ever reaches the host.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "common/AutomationFailure.h"
#include "common/ErrorMessage.h"

namespace qel
{

// The text of an exception that is not one of the system's error texts.
ErrorText DescribeUnexpectedFailure(const char* what);

// Runs work(); returns null when it completed, else the failure's text. The
// text lives as long as the CErrorMessage of the calling thread's export.
template <class Work> ErrorText RunInErrorFrame(Work&& work) noexcept
{
    try
    {
        work();
        return nullptr;
    }
    catch (ErrorText text)
    {
        return text != nullptr ? text : DescribeUnexpectedFailure(nullptr);
    }
    catch (const std::bad_alloc&)
    {
        return kNotEnoughMemory;
    }
    catch (const CAutomationFailure& failure)
    {
        return DescribeUnexpectedFailure(failure.what());
    }
    catch (const std::exception& failure)
    {
        return DescribeUnexpectedFailure(failure.what());
    }
    catch (...)
    {
        return DescribeUnexpectedFailure(nullptr);
    }
}

// Copies text into the host's buffer: at most size bytes, NUL bytes after a
// shorter text, and the last byte always NUL. Nothing for a null buffer or size 0.
void CopyErrorText(char* buffer, unsigned size, const char* text);

} // namespace qel
