#include "KestrixApp/Views/Panel/CheckAgain.h"

#include "KestrixApp/Model/AppModel.h"

namespace kestrix::views {

void checkAgain(AppModel& model) {
    model.refresh();
    if (!model.live()) return;
    // A copy: a check may change the list while we walk it.
    const std::vector<Drive> listed = model.drives();
    for (const Drive& drive : listed) model.check(drive);
}

}  // namespace kestrix::views
