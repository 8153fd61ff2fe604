#include "app/UserOptions.h"

#include <tinyxml.h>

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "app/Log.h"
#include "app/SaveFolder.h"
#include "app/UserFile.h"

namespace {

constexpr const char* kWhat = "options file";

std::string OptionsPath() { return ConfigPath("options.cfg"); }

const struct {
  const char* name;
  bool OptionValues::*field;
} kSwitches[] = {
    {"fullscreen", &OptionValues::fullScreen},
    {"vsync", &OptionValues::vsync},
    {"music", &OptionValues::music},
    {"sfx", &OptionValues::effects},
};

bool ReadSide(const char* text, unsigned& value) {
  const std::string_view view = text;
  const auto result = std::from_chars(view.data(), view.data() + view.size(), value);
  return result.ec == std::errc() && result.ptr == view.data() + view.size() && value > 0 &&
         value <= CUserOptions::kLargestSide;
}

bool ReadDocument(const TiXmlDocument& document, OptionValues& values, std::string& problem) {
  const TiXmlElement* root = document.RootElement();
  if (std::strcmp(root->Value(), "Options") != 0) {
    problem = "the root element is not Options";
    return false;
  }
  OptionValues read;
  for (const auto& option : kSwitches) {
    const char* text = root->Attribute(option.name);
    if (!text) continue;  // not chosen yet: the default
    if (std::strcmp(text, "0") != 0 && std::strcmp(text, "1") != 0) {
      problem = std::string("\"") + option.name + "\" is neither 0 nor 1";
      return false;
    }
    read.*option.field = text[0] == '1';
  }
  const char* width = root->Attribute("width");
  const char* height = root->Attribute("height");
  if (width || height) {
    if (!width || !height || !ReadSide(width, read.width) || !ReadSide(height, read.height)) {
      problem =
          "the size is not two numbers from 1 to " + std::to_string(CUserOptions::kLargestSide);
      return false;
    }
  }
  values = read;
  return true;
}

}  // namespace

CUserOptions::CUserOptions() = default;

void CUserOptions::Load() {
  values = OptionValues();
  ReadUserFile(OptionsPath(), kWhat, [&](const TiXmlDocument& document, std::string& problem) {
    return ReadDocument(document, values, problem);
  });
}

bool CUserOptions::Save() {
  const std::string path = OptionsPath();
  OptionValues onDisk;
  const UserFileResult found =
      ReadUserFile(path, kWhat, [&](const TiXmlDocument& document, std::string& problem) {
        return ReadDocument(document, onDisk, problem);
      });
  if (found == UserFileResult::DamagedInPlace) {
    LogError("Could not save the options " + path + ": a damaged file is in the way");
    return false;
  }
  TiXmlDocument document;
  document.InsertEndChild(TiXmlDeclaration("1.0", "UTF-8", ""));
  TiXmlElement root("Options");
  if (values.width > 0 && values.height > 0) {
    root.SetAttribute("width", std::to_string(values.width));
    root.SetAttribute("height", std::to_string(values.height));
  }
  for (const auto& option : kSwitches)
    root.SetAttribute(option.name, values.*option.field ? "1" : "0");
  document.InsertEndChild(root);
  std::string error;
  if (WriteUserFile(path, PrintXmlDocument(document, false), error)) return true;
  LogError("Could not save the options " + path + ": " + error);
  return false;
}

void CUserOptions::Change(const std::function<void(OptionValues&)>& change) {
  change(values);
  Save();
}

StartDisplay ChooseStartDisplay(const CCommandLine& commandLine, const OptionValues& stored,
                                bool headless) {
  const LaunchOptions launch = ReadLaunchOptions(commandLine);
  const OptionValues kept = headless ? OptionValues() : stored;
  StartDisplay display;
  if (commandLine.Text("width") || commandLine.Text("height")) {
    display.width = commandLine.RequestedWidth();
    display.height = commandLine.RequestedHeight();
  } else {
    display.width = kept.width;
    display.height = kept.height;
  }
  display.fullScreen = commandLine.Text("windowed") ? !launch.windowed : kept.fullScreen;
  display.vsync = commandLine.Text("vsync") ? launch.vsync : kept.vsync;
  return display;
}
