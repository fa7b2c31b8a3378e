#pragma once

namespace kestrix {
class AppModel;
}

namespace kestrix::views {

// Lists the drives again and checks every listed one; the model skips drives that are busy.
void checkAgain(AppModel& model);

}  // namespace kestrix::views
