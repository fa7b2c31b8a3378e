#pragma once

#include <string>

namespace kestrix::test {

// polkit's rules for the user as a desktop session grants them: every action of the disk service,
// except that unmounting what someone else mounted is refused on drives labelled "KxNo…" and
// wants an administrator's password on drives labelled "KxPw…".
inline std::string userSessionRules(const std::string& user) {
    return R"(polkit.addRule(function(action, subject) {
  if (action.id.indexOf("org.freedesktop.udisks2.") != 0 || subject.user != ")" +
           user + R"(") return polkit.Result.NOT_HANDLED;
  var label = action.lookup("id.label") || "";
  if (action.id == "org.freedesktop.udisks2.filesystem-unmount-others") {
    if (label.indexOf("KxNo") == 0) return polkit.Result.NO;
    if (label.indexOf("KxPw") == 0) return polkit.Result.AUTH_ADMIN;
  }
  return polkit.Result.YES;
});
)";
}

}  // namespace kestrix::test
