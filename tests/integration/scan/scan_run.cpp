#include "scan_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ScanRun RunScan(const std::vector<std::string>& args) {
    const TempDir scratch;
    const std::string out = scratch.Path() + "/out";
    const std::string err = scratch.Path() + "/err";
    std::string command = ShellQuote(VIBRALON_SCAN_TOOL);
    for (const std::string& arg : args) {
        command += " " + ShellQuote(arg);
    }
    command += " >" + ShellQuote(out) + " 2>" + ShellQuote(err);
    const int status = std::system(command.c_str());
    ScanRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    run.outLines = Lines(run.out);
    run.errLines = Lines(run.err);
    return run;
}

std::vector<ScanRow> ScanRun::Rows() const {
    std::vector<ScanRow> rows;
    for (std::size_t k = 1; k < outLines.size(); ++k) {
        std::istringstream fields(outLines[k]);
        ScanRow row{};
        char tab1, tab2, tab3, tab4, tab5;
        fields >> row.block >> std::noskipws >> tab1 >> row.hertz >> tab2 >> row.frame >> tab3 >>
            row.step >> tab4 >> row.direction >> tab5;
        std::getline(fields, row.words);
        EXPECT_TRUE(fields && tab1 == '\t' && tab2 == '\t' && tab3 == '\t' && tab4 == '\t' &&
                    tab5 == '\t' && !row.words.empty())
            << "malformed row: '" << outLines[k] << "'";
        rows.push_back(row);
    }
    return rows;
}
