#include "support/project_text.h"

namespace projectText {

std::string project(const std::string& content, const std::string& processor)
{
    return "<?xml version=\"1.0\" encoding='ISO-8859-1'?>\n"
           "<visualdsp-project schema=\"17\" name=\"app\" file=\"app.dpj\" version=\"1\">\n"
           "\t<!-- Project build target -->\n"
           "\t<target>\n\t\t<processor revision=\"Automatic\">" +
           processor +
           "</processor>\n"
           "\t\t<extension>.dxe</extension>\n\t\t<type>Executable file</type>\n\t</target>\n" +
           content + "</visualdsp-project>\n";
}

std::string configurations(const std::string& content)
{
    return "<configurations active=\"Debug\">\n" + content + "</configurations>\n";
}

std::string configuration(const std::string& name, const std::string& compilerOption)
{
    return "<configuration name=\"" + name + "\">\n<intermediate-dir>.\\" + name +
           "</intermediate-dir>\n<output-dir>.\\" + name +
           "</output-dir>\n<changed-property-page-flags>0</changed-property-page-flags>\n<tools>\n"
           "<tool type=\"Compiler\">\n<option><![CDATA[" +
           compilerOption +
           "]]></option>\n</tool>\n<tool type=\"Assembler\">\n<option><![CDATA[|-D>NOT_COMPILED]]></option>\n"
           "</tool>\n</tools>\n</configuration>\n";
}

std::string folders(const std::string& content)
{
    return "<folders>\n" + content + "</folders>\n";
}

std::string folder(const std::string& name, const std::string& content)
{
    return "<folder name=\"" + name + "\" ext=\".c\">\n" + content + "</folder>\n";
}

std::string files(const std::string& content)
{
    return "<files>\n" + content + "</files>\n";
}

std::string file(const std::string& path, const std::string& fileConfigurations)
{
    return "<file name=\"" + path + "\">\n" + fileConfigurations + "</file>\n";
}

std::string fileConfigurations(const std::string& content)
{
    return "<file-configurations>\n" + content + "</file-configurations>\n";
}

std::string fileConfiguration(const std::string& name, const std::string& excludedFlag)
{
    return "<file-configuration name=\"" + name + "\">\n" + excludedFlag +
           "<build-with-flag value=\"project\"/>\n<intermediate-dir>.\\" + name +
           "</intermediate-dir>\n<output-dir>.\\" + name + "</output-dir>\n</file-configuration>\n";
}

std::string excludedFlag(const std::string& value)
{
    return "<excluded-flag value=\"" + value + "\"/>\n";
}

} // namespace projectText
