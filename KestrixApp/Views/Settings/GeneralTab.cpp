#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Settings/FormSection.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixApp/Views/Settings/ModelToggle.h"
#include "KestrixApp/Views/Settings/SettingsTabs.h"

namespace kestrix::views {

QWidget* makeGeneralTab(AppModel& model) {
    return formPage({
        formSection({}, {modelToggle(model, localizedText("Open Kestrix when you log in"), launchAtLoginFlag)}),
        formSection(localizedText("Drives"),
                    {modelToggle(model, localizedText("Show disk images (.dmg)"), showDiskImagesFlag),
                     modelToggle(model, localizedText("Show network shares"), showNetworkSharesFlag),
                     secondaryText(localizedText("External drives, cards and sticks always show. The Mac’s own disks "
                                                 "never do."),
                                   captionSize)}),
    });
}

}  // namespace kestrix::views
