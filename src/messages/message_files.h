#pragma once
// The message files: MESSAGES holds every text the message box has shown, numbered from 1;
// MESCONTR counts, per user, how often each was answered. Both programs may share them, and so
// may several stations; each step runs in a transaction of its file, so two stations adding the
// same new text at once cannot take the same number.
#include "data/result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace saldora::message_box {

struct MessageFilePaths {
    std::string messages, mesContr;
};

// The two files in `folder` under their physical names (with the store's default extension when
// they have none), matched without regard to case.
MessageFilePaths messageFilesIn(std::string_view folder, std::string_view messagesName,
                                std::string_view mesContrName);

// Counts one more answer of `text` (UTF-8, as the box shows it; its first 200 characters count)
// by `user`: a text not yet known gets the number after the highest one and a ranking of 1.
// The files are created when missing.
Status recordMessage(const MessageFilePaths& files, std::string_view text, int32_t user = 0);

} // namespace saldora::message_box
