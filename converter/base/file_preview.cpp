#include "base/file_preview.h"

FilePreview::File& FilePreview::start(const std::string& hostPath)
{
    File& file = files_[hostPath];
    file = File();
    file.keepsText = textKept_.contains(hostPath);
    return file;
}

void FilePreview::add(File& file, std::string_view bytes) const
{
    file.size += bytes.size();
    file.digest.add(bytes);
    if (file.keepsText && file.size <= textBound_) {
        file.text.append(bytes);
    } else {
        std::string().swap(file.text);
    }
}

const FilePreview::File* FilePreview::find(const std::string& hostPath) const
{
    const auto found = files_.find(hostPath);
    return found == files_.end() ? nullptr : &found->second;
}
