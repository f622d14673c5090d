// qvtool: inspect and convert Quorvel documents from the command line. One class over the
// core libraries; each verb is a method that writes to the given streams and returns the
// process exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quorvel {

class CStatsDataSet;

class CUnitDocument;

class CQvTool {
public:
    CQvTool(std::ostream& out, std::ostream& err, std::istream* in = nullptr)
        : m_out(out), m_err(err), m_in(in) {}

    // args are the program's arguments without the program name.
    int Run(const std::vector<std::string>& args);

    int Info(const std::vector<std::string>& files);
    int Resave(const std::string& in, const std::string& out);
    // The whole document as JSON on the output.
    int Dump(const std::string& file);
    // The inverse of Dump: JSON (a file, or "-" for the input stream) to a document.
    int Build(const std::string& json, const std::string& out);
    // Opens each file as the program would and reports the first error with its place.
    int Validate(const std::vector<std::string>& files);
    // Draws a document's workspace into a PNG or SVG file: FILE OUT [--scale S]; for a
    // Statistics document [--view table|board|bar|pie|line] [--column N] draws what the page
    // shows in that mode.
    int Render(const std::vector<std::string>& args);
    int Calc(const std::vector<std::string>& args);
    // Machines linked one after another: [--fractional] A OP B [X OP Y]...
    int Chain(const std::vector<std::string>& args);
    // One code machine applied to a text: shift N DIRECTION TEXT, group N TEXT,
    // keyword WORD encode|decode TEXT.
    int Code(const std::vector<std::string>& args);
    // Runs every supermachine of a Numbers or Codes document: FILE [--save OUT].
    int RunMachines(const std::vector<std::string>& args);
    // The Summary Statistics window's lines: FILE.qvs [--column N] [--decimals D].
    int Stats(const std::vector<std::string>& args);
    // Prints what the program makes of a command line.
    int Cmdline(const std::vector<std::string>& args);

private:
    int Usage();
    int RenderStatsView(CUnitDocument& doc, const std::string& file, const std::string& out,
                        const std::string& view, int column, double scale);
    // Makes `column` of `file`'s data the current one (-2 keeps it); false, with the reason on
    // the error stream, when it is not a data column.
    bool ChooseColumn(CStatsDataSet& data, const std::string& file, int column);

    std::ostream& m_out;
    std::ostream& m_err;
    std::istream* m_in;
};

} // namespace quorvel
