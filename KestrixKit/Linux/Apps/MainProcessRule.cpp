#include "KestrixKit/Linux/Apps/MainProcessRule.h"

#include "KestrixKit/Text/PlainText.h"

namespace kestrix {

bool isAppMainProcess(const AppProcessFacts& facts) {
    if (facts.launchedPID == facts.pid || facts.unitLeader == facts.pid) return true;
    if (!facts.executable || !facts.entryProgram) return false;
    if (text::lastPathComponent(*facts.executable) != text::lastPathComponent(*facts.entryProgram)) return false;
    return facts.parentExecutable != facts.executable;
}

}  // namespace kestrix
