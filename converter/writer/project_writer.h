#pragma once

class Converter;

// Writes the converter's analyser project file, and its group tree's folders
// and personalities below the destination folder.
void writeProjectFile(const Converter& converter);
