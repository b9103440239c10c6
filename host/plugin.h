#pragma once

// The one function a plug-in exports; the host calls it to run the plug-in
// and ignores nothing but its result.
extern "C" int plugin_exec();

using PluginEntry = int (*)();
