#pragma once

// How every aaxhost command takes the bundle it loads.

#include "aaxhost/PluginModule.h"

#include "tambrix/io/Input.h"

#include <string>

namespace aaxhost::tool
{

// The usage's note on BUNDLE.
inline constexpr const char* bundleNote =
    "  BUNDLE: an X.aaxplugin folder or a plug-in shared object (a file: not -)\n";

// The bundle's binary as an input of the run, which no output may be.
inline tambrix::io::Input bundleInput(const std::string& bundle)
{
    return {"the plug-in's binary", PluginModule::binaryPathFor(bundle)};
}

} // namespace aaxhost::tool
