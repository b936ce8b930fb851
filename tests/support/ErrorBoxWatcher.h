// Watches this process for message boxes (whatever their caption), records
// their texts and captions and closes them (No to a question), so that a
// test can call an export that shows one.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qel::test
{

class CErrorBoxWatcher
{
public:
    CErrorBoxWatcher();
    CErrorBoxWatcher(const CErrorBoxWatcher&) = delete;
    CErrorBoxWatcher& operator=(const CErrorBoxWatcher&) = delete;
    ~CErrorBoxWatcher();

    // Texts of the boxes seen and closed so far.
    std::vector<std::string> Texts() const;
    // Captions of the boxes seen so far.
    std::vector<std::string> Captions() const;

private:
    void Watch();

    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_captions;
    std::thread m_thread;
};

} // namespace qel::test
