#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixApp/Model/DriveDisplay.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Volumes/Drive.h"

// What a drive card and its holder rows say, as plain rules over the model's values.
namespace kestrix::views {

enum class Tint { blue, orange, purple, red, green };

// The status badge of a drive.
struct ChipLook {
    std::string text;
    std::string_view symbol;
    Tint tint = Tint::green;
};

ChipLook chipLook(const DriveDisplay& display);

// The icon of a drive by its kind.
std::string_view driveSymbol(const Drive& drive);
// The kind and the sizes: "External drive · 16 GB, 8 GB free".
std::string driveSubtitle(const Drive& drive);
// The card's accessible label: the drive's name and its status.
std::string cardAccessibleName(const Drive& drive, const DriveDisplay& display);

// One line of a card's explanation of its state.
struct DetailLine {
    std::string text;
    bool secondary = false;
    // Caption size rather than callout.
    bool small = false;
};

// The sentences explaining the state, and what the kernel holds the drive with; none for busy and
// ready drives and for lists of holders.
std::vector<DetailLine> detailLines(const DriveDisplay& display);
// The holders the card lists as rows.
std::vector<Holder> listedHolders(const DriveDisplay& display);
// The holders the card's remedies act on: those listed, and the apps still open.
std::vector<Holder> actionHolders(const DriveDisplay& display);
// What the kernel holds the drive with that the card offers a button for (see kernelRemedy), in
// the order the card explains them.
std::vector<KernelHolder> remedyKernelHolders(const DriveDisplay& display);
// A backup's completed fraction as the whole percentage shown, halves away from zero.
long percentDone(double progress);
// Whether "Quit and Eject" has something to do: a holder that may be asked to quit or ended.
bool offersQuitAndEject(const std::vector<Holder>& holders, std::uint32_t currentUID);

// How many holder rows a card shows.
std::size_t holderRowLimit(bool compact);
// The link under a compact card's rows for the holders left out: "3 more…".
std::string moreHoldersText(std::size_t hidden);

// A holder row's title: the program's own name for apps, sync tools and command-line programs,
// the kind's name for the rest.
std::string holderTitle(const Holder& holder);
// The row's accessible label and its description.
std::string holderAccessibleName(const Holder& holder);
std::string holderAccessibleDescription(const Holder& holder);
// Whether the row offers to show the holder's file: only full cards, only for a holder with a
// file, and not for a program the user would rather end.
bool showsFileButton(const Holder& holder, bool compact, std::uint32_t currentUID);

}  // namespace kestrix::views
