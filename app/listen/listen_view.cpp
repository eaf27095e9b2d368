#include "app/listen/listen_view.h"

#include "analysis/identify_note.h"
#include "analysis/note_table.h"

namespace {

// The note table starts at C2.
constexpr int FirstOctave = 2;

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

std::string Seconds(ListenView::Clock::duration since) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", std::chrono::duration<double>(since).count());
    return text;
}

// The JSON fields after "time", for a block's reading.
std::string ReadingFields(const TunerReading& reading, int frequency, const std::string& words) {
    const NoteMatch match = MatchNote(frequency);
    if (reading.frame < 0 || reading.frame >= NotesPerOctave) {
        return "\"note\":null,\"octave\":null,\"step\":null,\"direction\":0,\"hertz\":" +
               std::to_string(frequency) + ",\"words\":" + Quoted(words);
    }
    std::string name = NoteTable[static_cast<std::size_t>(reading.frame)].name;
    if (name.back() == ' ') {
        name.pop_back();
    }
    const std::string octave = match.note == NoteMatch::NoNote
                                   ? "null"
                                   : std::to_string(FirstOctave + match.note / NotesPerOctave);
    return "\"note\":" + Quoted(name) + ",\"octave\":" + octave +
           ",\"step\":" + std::to_string(reading.step) +
           ",\"direction\":" + std::to_string(reading.direction) +
           ",\"hertz\":" + std::to_string(frequency) + ",\"words\":" + Quoted(words);
}

} // namespace

ListenView::ListenView(const Options& options, std::FILE* out, Clock::time_point start)
    : options_(options), out_(out), start_(start), lastBlock_(start) {}

void ListenView::ShowHeard(const TunerReading& reading, int frequency) {
    lastBlock_ = Clock::now();
    if (!listening_) {
        listening_ = true;
        const std::string words = a11y::Words(a11y::Listening);
        Print(words, "\"words\":" + Quoted(words), true);
    }
    const std::string words =
        a11y::Words(a11y::Describe(reading, frequency, options_.selectedString));
    Print(words, ReadingFields(reading, frequency, words), options_.everyBlock);
}

void ListenView::Tick(Clock::time_point now) {
    if (listening_ && now - lastBlock_ >= ListeningTimeout) {
        listening_ = false;
        const std::string words = a11y::Words(a11y::NotListening);
        Print(words, "\"words\":" + Quoted(words), true);
    }
}

void ListenView::Print(const std::string& line, const std::string& json, bool always) {
    // JSON's fields other than time are the change: an octave or a step the words leave out
    // is news to a program.
    const std::string& key = options_.json ? json : line;
    if (!always && key == last_) {
        return;
    }
    last_ = key;
    if (options_.json) {
        std::fprintf(out_, "{\"time\":%s,%s}\n", Seconds(Clock::now() - start_).c_str(),
                     json.c_str());
    } else if (options_.inPlace) {
        // Blanks over what is left of a longer line before.
        const int pad =
            static_cast<int>(inPlaceWidth_ > line.size() ? inPlaceWidth_ - line.size() : 0);
        std::fprintf(out_, "\r%s%*s", line.c_str(), pad, "");
        inPlaceWidth_ = line.size();
    } else {
        std::fprintf(out_, "%s\n", line.c_str());
    }
    std::fflush(out_);
}

void ListenView::Finish() {
    if (inPlaceWidth_ > 0) {
        std::fputc('\n', out_);
        std::fflush(out_);
        inPlaceWidth_ = 0;
    }
}
