#pragma once
// The main window's encode action for WAV files: by the text of the collection tree's selected
// node it encodes every WAV file of the collection ("WAV Files"), every selected WAV file
// ("Selected WAV Files"), or the one WAV file whose item is selected, each into the destination
// folder, and adds each new MP3 file to the collection.

#include <string>

#include "collection/DeleteWavRule.h"
#include "platform/Services.h"
#include "window/JobHost.h"

namespace korvalin {

// Runs the encode action. Between files a stop request ends the batch. With "Delete WAV" on, a
// source whose name ends in ".wav" (exactly) and that lies directly in the destination folder is
// deleted once it has been encoded completely, and leaves the collection. When
// the batch is over the status displays return to idle a second later (Timer1). Any other node,
// or none, does nothing. The options are read once, as the action starts.
void cmdEncFile_Click(JobHost& host, Services& services);

// The message for a WAV item whose file neither WAV list holds any more.
std::string NotListedText(const std::string& itemText);

}  // namespace korvalin
