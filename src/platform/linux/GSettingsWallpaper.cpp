// GIO lives in its own unit: its headers use names that Qt defines as macros.
#include <gio/gio.h>

#include "platform/linux/Wallpaper.h"

namespace scenewright::linux_platform {

std::string FileUri(const std::string& path) {
  gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
  if (uri == nullptr) return {};
  std::string result(uri);
  g_free(uri);
  return result;
}

bool SetGSettingsStrings(const std::string& schemaId, const std::vector<std::string>& keys,
                         const std::string& nudge, const std::string& value) {
  // g_settings_new() aborts the program for a schema that is not installed; look it up first.
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (source == nullptr) return false;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId.c_str(), TRUE);
  if (schema == nullptr) return false;
  GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
  // Two separate writes, each waited for: queued writes to one key would merge into one
  // change, and a value equal to the stored one raises no change at all.
  for (const std::string* text : {&nudge, &value}) {
    for (const std::string& key : keys) {
      if (g_settings_schema_has_key(schema, key.c_str())) {
        g_settings_set_string(settings, key.c_str(), text->c_str());
      }
    }
    g_settings_sync();
  }
  g_object_unref(settings);
  g_settings_schema_unref(schema);
  return true;
}

void SetGnomeWallpaper(const std::string& bitmapPath) {
  SetGSettingsStrings("org.gnome.desktop.background", {"picture-uri", "picture-uri-dark"},
                      FileUri(SecondSpelling(bitmapPath)), FileUri(bitmapPath));
}

void SetCinnamonWallpaper(const std::string& bitmapPath) {
  SetGSettingsStrings("org.cinnamon.desktop.background", {"picture-uri"},
                      FileUri(SecondSpelling(bitmapPath)), FileUri(bitmapPath));
}

void SetMateWallpaper(const std::string& bitmapPath) {
  SetGSettingsStrings("org.mate.background", {"picture-filename"}, SecondSpelling(bitmapPath),
                      bitmapPath);
}

}  // namespace scenewright::linux_platform
