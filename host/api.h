#pragma once

// Host symbols stay visible while the plug-in is built with hidden visibility:
// the plug-in references them and the host resolves them at load time.
#define HOST_API __attribute__((visibility("default")))
