#include "KestrixKit/Linux/Backups/DejaDupSettings.h"

#include <gio/gio.h>

#include <memory>

namespace kestrix {
namespace {

constexpr const char* schemaId = "org.gnome.DejaDup";

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Settings = std::unique_ptr<GSettings, ObjectUnref>;

std::string stringKey(GSettings* settings, const char* key) {
    const std::unique_ptr<gchar, decltype(&g_free)> value(g_settings_get_string(settings, key), &g_free);
    return value ? std::string(value.get()) : std::string();
}

// A child's key; absent when empty.
std::optional<std::string> childKey(GSettings* settings, const char* child, const char* key) {
    const Settings childSettings(g_settings_get_child(settings, child));
    if (!childSettings) return std::nullopt;
    std::string value = stringKey(childSettings.get(), key);
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<DejaDupDestination> readDejaDupDestination() {
    // Looked up first: g_settings_new aborts the program on a schema that isn't installed.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) return std::nullopt;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (schema == nullptr) return std::nullopt;
    const Settings settings(g_settings_new_full(schema, nullptr, nullptr));
    g_settings_schema_unref(schema);
    DejaDupDestination destination{.backend = stringKey(settings.get(), "backend")};
    if (destination.backend == "drive") {
        destination.driveUUID = childKey(settings.get(), "drive", "uuid");
        destination.folder = childKey(settings.get(), "drive", "folder");
    } else if (destination.backend == "local") {
        destination.folder = childKey(settings.get(), "local", "folder");
    }
    return destination;
}

std::string dejaDupLocalFolder(const std::string& folder, const std::string& home) {
    if (folder.starts_with('/')) return folder;
    return home + "/" + folder;
}

}  // namespace kestrix
