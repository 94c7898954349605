// The three tools as a user runs them, with hostile outputs: each writes only
// the regular file it was asked to write, refuses what it must not touch before
// any work, leaves nothing behind when it fails or is killed, and reports a
// failed standard output.
#include "subprocess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace
{

#ifdef TAMBRIX_SANITIZED
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

struct Row
{
    const char* name;
    const char* setup;   // shell commands run first in an empty folder
    const char* command; // $RENDER, $AAXHOST, $SNAPSHOT, $BUNDLE and $BINARY name the tools and the bundle,
                         // $OOM a plug-in that runs out of memory as it registers;
                         // LD_PRELOAD="$NAMED" hides unnamed files from a tool
    int exitCode;
    const char* message; // a part of what it writes to standard error
    const char* after;   // a shell command whose (short) output shows what the folder holds then
    const char* shows;
    bool needsRoot = false;
    bool unsanitized = false; // limits the sanitizers' own needs would break
    bool needsMounts = false; // a mount namespace of its own (unshare -m), which a container may refuse
};

const Row rows[] = {
    {"a directory", "mkdir out", "$RENDER --seconds 3000 --channels 4 --out out", 2, "'out' is a directory",
     "ls -A", "out\n"},
    {"a FIFO, written straight through", "mkfifo out; (wc -c < out > count &) >/dev/null 2>&1",
     "$RENDER --seconds 0.01 --channels 1 --out out >/dev/null; sleep 0.2", 0, "", "test -p out && cat count",
     "1978\n"},
    {"a symbolic link: the file it names is replaced", "echo old > real; ln -s real link",
     "$RENDER --seconds 0.01 --out link >/dev/null", 0, "", "readlink link; head -c 4 real; echo; ls -A",
     "real\nRIFF\nlink\nreal\n"},
    {"a symbolic link to nothing", "ln -s nothing out", "$RENDER --out out", 2,
     "'out' is a symbolic link to nothing", "ls -A; test -e nothing || echo none", "out\nnone\n"},
    {"a character device, written straight through", "mknod out c 1 3",
     "$RENDER --seconds 0.01 --out out >/dev/null", 0, "", "test -c out && ls -A", "out\n", true},
    {"a file and a link named OUT.partial stay untouched",
     "echo keep > a.wav.partial; echo victim > victim; ln -s victim b.wav.partial",
     "$RENDER --seconds 0.01 --out a.wav >/dev/null && $RENDER --seconds 0.01 --out b.wav >/dev/null", 0, "",
     "head -qc 6 a.wav.partial victim; echo; ls -A",
     "keep\nvictim\na.wav\na.wav.partial\nb.wav\nb.wav.partial\nvictim\n"},
    {"the timeline file", "echo '0 stop' > t.txt", "$RENDER --timeline t.txt --out t.txt", 2,
     "'t.txt' is the timeline file", "head -c 6 t.txt", "0 stop"},
    {"the plug-in's binary, through a link",
     "ln \"$BINARY\" plugin.so 2>/dev/null || cp \"$BINARY\" plugin.so; ln -s plugin.so link.so",
     "$AAXHOST render plugin.so --out link.so", 2, "'link.so' is the plug-in's binary",
     "cmp -s plugin.so \"$BINARY\" && ls -A", "link.so\nplugin.so\n"},
    {"a missing folder, found before the bundle is loaded", "",
     "$AAXHOST render /nonexistent.aaxplugin --out missing/out.wav", 2, "its folder does not exist", "ls -A",
     ""},
    {"a missing folder, found before the snapshot paints", "", "ulimit -n 8; $SNAPSHOT --out missing/s.png",
     2, "its folder does not exist", "ls -A", "", false, true},
    {"the current folder deleted", "mkdir gone", "cd gone && rmdir ../gone && $RENDER --seconds 0.01", 2,
     "'clock.wav': the current folder is gone", "ls -A", ""},
    {"a file that has no name left, named by its descriptor", "",
     "echo keep > x; exec 3<>x; rm x; echo other > 'x (deleted)'; $RENDER --seconds 0.01 --out "
     "/proc/self/fd/3",
     2, "'/proc/self/fd/3' leads to a file that has no name left", "ls -A; cat 'x (deleted)'",
     "x (deleted)\nother\n"},
    {"a file that has no name left, through a link to its descriptor", "",
     "echo keep > x; exec 3<>x; rm x; ln -s /proc/$$/fd/3 l; $SNAPSHOT --out l", 2, "has no name left",
     "ls -A", "l\n"},
    {"without /proc, a link and a device", "echo old > f.wav; ln -s f.wav l.wav; mknod dev c 1 3",
     "unshare -m sh -c 'mount -t tmpfs none /proc && $RENDER --seconds 0.01 --out l.wav >/dev/null && "
     "$RENDER --seconds 0.01 --out dev >/dev/null'",
     0, "", "readlink l.wav; head -c 4 f.wav; echo; ls -A", "f.wav\nRIFF\ndev\nf.wav\nl.wav\n", true, true,
     true},
    {"without /proc, not root, a file replaced",
     "chmod 711 ..; chmod 777 .; echo old > f.wav; chmod 666 f.wav",
     "unshare -m sh -c 'mount -t tmpfs none /proc && exec setpriv --reuid=65534 --regid=65534 --clear-groups "
     "$RENDER --seconds 0.01 --out f.wav >/dev/null'",
     0, "", "head -c 4 f.wav; ls -A", "RIFFf.wav\n", true, true, true},
    {"another user's file in a sticky folder, refused before any work",
     "chmod 711 ..; chmod 1777 .; echo old > f.wav; chmod 666 f.wav",
     "setpriv --reuid=65534 --regid=65534 --clear-groups $RENDER --seconds 0.01 --out f.wav", 2,
     "cannot replace 'f.wav': Operation not permitted", "cat f.wav", "old\n", true},
    {"too few descriptors is a failure while running", "", "ulimit -n 5; $RENDER --out o.wav", 1,
     "Too many open files", "ls -A", "", false, true},
    {"memory run out inside the plug-in, which answered an error of its own",
     "{ printf 'param parse 0 '; head -c 30000000 /dev/zero | tr '\\0' a; echo; } > big.txt",
     "ulimit -v 120000; $AAXHOST script \"$BUNDLE\" big.txt > answers", 1, "aaxhost script: out of memory",
     "ls -A; wc -c < answers", "answers\nbig.txt\n0\n", false, true},
    {"a timeline's name shown once escaped", "printf '0 bogus\\n' > 'a\\b.txt'",
     "$RENDER --timeline 'a\\b.txt'", 2, "a\\\\b.txt:1: unknown event 'bogus'", "ls -A", "a\\b.txt\n"},
    {"a named temporary is its owner's only until it is complete", "echo old > o.wav; chmod 644 o.wav",
     "LD_PRELOAD=\"$NAMED\" $RENDER --rate 1000 --block 1 --channels 1 --seconds 86400 --out o.wav & pid=$!; "
     "writing $pid; stat -c %a .o.wav.* > mode; kill -TERM $pid; wait $pid",
     128 + 15, "", "cat mode o.wav", "600\nold\n", false, true},
    {"the framework's settings child writes nothing where the environment points",
     "mkdir -p run/dconf; echo secret > v; ln -s \"$PWD/v\" run/dconf/user",
     "XDG_RUNTIME_DIR=\"$PWD/run\" $SNAPSHOT --out /dev/null", 0, "", "cat v", "secret\n"},
    {"an endless timeline of events", "", "yes '0 stop' | $RENDER --timeline - --out o.wav", 2,
     "standard input:4194305: more than 4194304 events before the render's end", "ls -A", ""},
    {"the tool's own program", "cp \"$RENDER\" tr", "./tr --seconds 0.01 --out /proc/self/exe", 2,
     "'/proc/self/exe' is this tool's own program", "cmp tr \"$RENDER\" && ls -A", "tr\n"},
    {"a WAV file too long is a usage error", "", "$RENDER --seconds 86400 --channels 64", 2,
     "do not fit a WAV file; render fewer seconds\ntry 'tambrix-render --help'", "ls -A", ""},
    {"a render killed halfway", "echo old > out.wav",
     "$RENDER --rate 1000 --block 1 --channels 1 --seconds 86400 --out out.wav & pid=$!; writing $pid;"
     " kill -TERM $pid; wait $pid",
     128 + 15, "", "head -c 3 out.wav; ls -A", "oldout.wav\n"},
    {"a render killed by SIGKILL", "echo old > out.wav",
     "$RENDER --rate 1000 --block 1 --channels 1 --seconds 86400 --out out.wav & pid=$!; writing $pid;"
     " kill -KILL $pid; wait $pid",
     128 + 9, "", "head -c 3 out.wav; ls -A", "oldout.wav\n"},
    // Where the file system has no unnamed files, the temporary has a name until it is in place.
    {"a named temporary, removed when the render is killed", "echo old > out.wav",
     "LD_PRELOAD=\"$NAMED\" $RENDER --rate 1000 --block 1 --channels 1 --seconds 86400 --out out.wav & "
     "pid=$!; "
     "writing $pid; kill -HUP $pid; wait $pid",
     128 + 1, "", "head -c 3 out.wav; ls -A", "oldout.wav\n", false, true},
    {"a named temporary, removed when a write fails", "echo old > out.wav",
     "ulimit -f 8; LD_PRELOAD=\"$NAMED\" $RENDER --seconds 1 --out out.wav", 1, "File too large",
     "head -c 3 out.wav; ls -A", "oldout.wav\n", false, true},
    {"two renders to one file", "",
     "$RENDER --seconds 1 --out out.wav >/dev/null & $RENDER --seconds 1 --out out.wav >/dev/null; wait", 0,
     "", "stat -c %s out.wav; ls -A", "384058\nout.wav\n"},
    {"a full device", "", "$RENDER --seconds 0.01 --out /dev/full", 1, "No space left on device", "ls -A",
     ""},
    {"the snapshot, to no name", "", "$SNAPSHOT --out ''", 2, "needs a file name", "ls -A; echo here",
     "here\n"},
    {"the snapshot, to a directory", "mkdir out", "$SNAPSHOT --out out", 2, "'out' is a directory", "ls -A",
     "out\n"},
    {"render, standard output full", "", "$RENDER --seconds 0.01 --out out.wav > /dev/full", 1,
     "tambrix-render: cannot write standard output", "ls -A", "out.wav\n"},
    {"describe, standard output full", "", "$AAXHOST describe \"$BUNDLE\" > /dev/full", 1,
     "aaxhost describe: cannot write standard output: No space left on device", "ls -A", ""},
    {"script, standard output full", "", "echo live | $AAXHOST script \"$BUNDLE\" - > /dev/full", 1,
     "aaxhost script: cannot write standard output", "ls -A", ""},
    {"snapshot, standard output full", "", "$SNAPSHOT --out out.png > /dev/full", 1,
     "tambrix-editor-snapshot: cannot write standard output", "ls -A", "out.png\n"},
    {"a bundle that is not there", "", "$AAXHOST render /nonexistent.aaxplugin --out out.wav", 2,
     "no such plug-in binary", "ls -A", ""},
    // Standard output and input are an output and an input like any other.
    {"a script that would read its own answers", "printf 'live\\nlive\\n' > s.txt",
     "$AAXHOST script \"$BUNDLE\" s.txt >> s.txt", 2, "standard output is the script 's.txt'", "cat s.txt",
     "live\nlive\n"},
    {"a script from standard input, answered into it", "echo live > s.txt",
     "$AAXHOST script \"$BUNDLE\" - < s.txt 1<> s.txt", 2, "standard output is the script (standard input)",
     "cat s.txt", "live\n"},
    {"the timeline file as standard output", "echo '0 stop' > t.txt",
     "$RENDER --timeline t.txt --out - 1<>t.txt", 2, "standard output is the timeline file 't.txt'",
     "cat t.txt", "0 stop\n"},
    {"the plug-in's binary as standard output", "cp \"$BINARY\" plugin.so",
     "$AAXHOST describe plugin.so 1<>plugin.so", 2, "standard output is the plug-in's binary 'plugin.so'",
     "cmp plugin.so \"$BINARY\" && ls -A", "plugin.so\n"},
    {"/dev/stdout appended to, the summary on standard error", "echo log > log.txt",
     "$RENDER --seconds 0.01 --out /dev/stdout >> log.txt", 0, "\"samples\":480",
     "head -c 8 log.txt; wc -c < log.txt", "log\nRIFF3902\n"},
    {"/proc/self/fd/1 is standard output, which holds only the WAV data", "",
     "$RENDER --seconds 0.01 --out /proc/self/fd/1 | wc -c > n", 0, "\"samples\":480", "cat n", "3898\n"},
    {"standard output closed at start", "echo old > out.wav", "$RENDER --out out.wav >&-", 2,
     "tambrix-render: standard output is closed", "cat out.wav", "old\n"},
    {"a closed standard input is no script", "", "$AAXHOST script \"$BUNDLE\" - <&-", 2,
     "cannot read standard input: it was closed", "ls -A", ""},
    {"a closed standard input is no timeline by another name either", "",
     "$RENDER --timeline /dev/stdin --out o.wav <&-", 2, "it is standard input, which was closed", "ls -A",
     ""},
    {"/dev/stdout when standard output is a socket", "",
     "python3 -c 'import os, socket, sys; a, b = socket.socketpair(); os.dup2(a.fileno(), 1); "
     "os.set_inheritable(b.fileno(), True); os.execv(sys.argv[1], sys.argv[1:])' "
     "$RENDER --seconds 0.01 --out /dev/stdout",
     0, "\"out\":\"/dev/stdout\"", "ls -A", ""},
    {"a timeline from standard input", "",
     "echo '0 stop' | $RENDER --timeline - --seconds 0.01 --out o.wav > s", 0, "", "cat s",
     "{\"out\":\"o.wav\",\"samples\":480,\"channels\":2,\"rate\":48000,\"pulses\":0}\n"},
    // Every read has a bound, and the system's limits fail honestly.
    {"an endless timeline line, in bounded memory", "",
     "ulimit -v 400000; $RENDER --timeline /dev/zero --out o.wav", 2,
     "tambrix-render: /dev/zero:1: line longer than 33619968 bytes", "ls -A", "", false, true},
    {"an endless script line, in bounded memory", "",
     "ulimit -v 400000; $AAXHOST script \"$BUNDLE\" /dev/zero", 2,
     "aaxhost script: /dev/zero:1: line longer than 33619968 bytes", "ls -A", "", false, true},
    // A line at the bound, of words one letter long, costs a few times its size.
    {"a timeline line of many words, in bounded memory",
     "{ printf '0 '; yes a | head -c 33619966 | tr '\\n' ' '; echo; } > t.txt",
     "ulimit -v 400000; $RENDER --timeline t.txt --out o.wav", 2,
     "tambrix-render: t.txt:1: unknown event 'a' (expected play, stop or value)", "ls -A", "t.txt\n", false,
     true},
    {"a script line of many words, in bounded memory",
     "{ printf 'param parse 0 '; yes a | head -c 33619954 | tr '\\n' ' '; echo; } > s.txt",
     "ulimit -v 400000; $AAXHOST script \"$BUNDLE\" s.txt > a.json", 0, "", "cat a.json",
     "{\"line\":1,\"command\":\"param parse\",\"id\":\"0\",\"result\":-20002,\"ok\":true}\n", false, true},
    {"out of memory", "echo old > big.wav",
     "ulimit -v 100000; $RENDER --seconds 1 --channels 64 --block 1048576 --out big.wav", 1,
     "tambrix-render: out of memory", "cat big.wav; ls -A", "old\nbig.wav\n", false, true},
    // $OOM takes all the memory as it registers, then calls back the host's factory (with FAKE_QUERY its
    // unknown first), which must allocate: the factory answers so, the plug-in is not blamed, nothing aborts.
    {"out of memory in a host callback: describe", "", "ulimit -v 400000; $AAXHOST describe \"$OOM\" 2>e", 1,
     "", "cat e", "the factory answered -2147024882\naaxhost describe: out of memory\n", false, true},
    {"out of memory in a host callback: render", "",
     "ulimit -v 400000; $AAXHOST render \"$OOM\" --out o.wav 2>e", 1, "", "cat e; ls -A",
     "the factory answered -2147024882\naaxhost render: out of memory\ne\n", false, true},
    {"out of memory in a host callback that cannot answer: script", "",
     "ulimit -v 400000; echo live | FAKE_QUERY=1 $AAXHOST script \"$OOM\" - 2>e", 1, "", "cat e",
     "aaxhost script: out of memory\n", false, true},
    {"too few descriptors for the fonts", "", "ulimit -n 8; $SNAPSHOT --out s.png", 1,
     "no font could be read", "ls -A", "", false, true},
    {"a FIFO nobody reads, and a bundle that is not there", "mkfifo f",
     "timeout 20 $AAXHOST render /nonexistent.aaxplugin --out f", 2, "no such plug-in binary", "ls -A",
     "f\n"},
    {"a FIFO nobody reads, and a channel count the bundle has no component for", "mkfifo f",
     "timeout 20 $AAXHOST render \"$BUNDLE\" --channels 9 --out f", 2, "no component for 9 channels", "ls -A",
     "f\n"},
    {"a replaced file keeps its permissions but set-user-ID", "echo old > out.wav; chmod 7750 out.wav",
     "$RENDER --seconds 0.01 --out out.wav > /dev/null", 0, "", "stat -c %a out.wav", "1750\n"},
};

TEST(OutputSafety, EachToolWritesOnlyTheRegularFileItWasAskedFor)
{
    const auto quoted = [](const std::string& text)
    {
        return tambrix::test::quoted(text);
    };
    std::string base = ::testing::TempDir() + "output_safety_XXXXXX";
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const std::string tools =
        "export RENDER=" + quoted(TAMBRIX_RENDER_EXECUTABLE) + " AAXHOST=" + quoted(AAXHOST_EXECUTABLE) +
        " SNAPSHOT=" + quoted(TAMBRIX_SNAPSHOT_EXECUTABLE) + " BUNDLE=" + quoted(TAMBRIX_BUNDLE) +
        " BINARY=" + quoted(TAMBRIX_BUNDLE_BINARY) + " NAMED=" + quoted(NO_UNNAMED_FILES) +
        " OOM=" + quoted(FAKE_OUT_OF_MEMORY) +
        // `writing PID` waits until the render PID has its output (named or not) open in this folder.
        "; writing() { for i in $(seq 1000); do ls -l /proc/$1/fd | grep -qF \"$PWD/\" && break; sleep 0.01; "
        "done; }; ";
    const bool mounts = tambrix::test::run("unshare -m true 2>/dev/null").exitCode == 0;
    int n = 0;
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        if ((row.needsRoot && ::geteuid() != 0) || (row.unsanitized && kSanitized) ||
            (row.needsMounts && !mounts))
            continue;
        const std::string dir = base + "/" + std::to_string(n++);
        const std::string errors = dir + ".err";
        const std::string in = tools + "cd " + quoted(dir) + " && ";
        ASSERT_EQ(tambrix::test::run("mkdir " + quoted(dir)).exitCode, 0);
        ASSERT_EQ(tambrix::test::run(in + (*row.setup != '\0' ? row.setup : "true")).exitCode, 0);
        const auto ran = tambrix::test::run(in + "{ " + row.command + "; } 2>" + quoted(errors));
        const std::string stderrText = tambrix::test::run("cat " + quoted(errors)).out;
        EXPECT_EQ(ran.exitCode, row.exitCode) << stderrText;
        EXPECT_NE(stderrText.find(row.message), std::string::npos) << stderrText;
        EXPECT_EQ(tambrix::test::run(in + row.after).out, row.shows);
    }
    tambrix::test::run("rm -rf " + quoted(base));
}

} // namespace
