// What a walk removed and what stayed, and the line that tells it.
#include "engine/DeleteWalk.h"

#include "engine/WalkShared.h"

namespace walkshared {

// One entry that stayed, by its reason; a folder not empty is not counted.
void CountStay(WalkTally* tally, Undeleted why, bool readOnly)
{
    if (!tally || why == Undeleted::NotEmpty)
        return;
    if (why == Undeleted::HeldOpen)
        ++tally->inUse;
    else if (readOnly)
        ++tally->readOnly;
    else
        ++tally->denied;
}

} // namespace walkshared

void WalkTally::Add(const WalkTally& other)
{
    files += other.files;
    folders += other.folders;
    bytes += other.bytes;
    inUse += other.inUse;
    scheduled += other.scheduled;
    readOnly += other.readOnly;
    denied += other.denied;
    unsafe += other.unsafe;
}

std::string CategoryEnding(const WalkTally& tally)
{
    if (tally.Left() == 0)
        return "OK\r\n";
    std::string text = std::to_string(tally.Left()) + " left: ";
    const char* separator = "";
    auto part = [&](ULONG count, const char* why) {
        if (!count)
            return;
        text += separator;
        text += std::to_string(count);
        text += why;
        separator = ", ";
    };
    part(tally.inUse, " in use");
    if (tally.scheduled && tally.scheduled >= tally.inUse)
        text += " (deleted when Windows restarts)";
    else if (tally.scheduled)
        text += " (" + std::to_string(tally.scheduled) + " deleted when Windows restarts)";
    part(tally.readOnly, " read-only");
    part(tally.denied, " access denied");
    part(tally.unsafe, " skipped as unsafe");
    return text + "\r\n";
}
