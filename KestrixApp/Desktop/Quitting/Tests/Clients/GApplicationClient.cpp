// A stand-in GApplication for the quitting tests: registers the application id given as its first
// argument on the session bus of $DBUS_SESSION_BUS_ADDRESS, with a "quit" action that quits it,
// and stays until then. Each time it is activated (brought forward) it adds a line to the file
// named by its second argument.
#include <gio/gio.h>

#include <cstdio>

namespace {

void quit(GSimpleAction* /*action*/, GVariant* /*parameter*/, gpointer application) {
    g_application_quit(G_APPLICATION(application));
}

void activate(GApplication* /*application*/, gpointer activationLog) {
    if (activationLog == nullptr) return;
    if (FILE* log = std::fopen(static_cast<const char*>(activationLog), "a")) {
        std::fputs("activated\n", log);
        std::fclose(log);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !g_application_id_is_valid(argv[1])) return 2;
    GApplication* application = g_application_new(argv[1], G_APPLICATION_DEFAULT_FLAGS);
    GSimpleAction* quitAction = g_simple_action_new("quit", nullptr);
    g_signal_connect(quitAction, "activate", G_CALLBACK(quit), application);
    g_action_map_add_action(G_ACTION_MAP(application), G_ACTION(quitAction));
    g_signal_connect(application, "activate", G_CALLBACK(activate), argc > 2 ? argv[2] : nullptr);
    g_application_hold(application);
    const int status = g_application_run(application, 1, argv);
    g_object_unref(quitAction);
    g_object_unref(application);
    return status;
}
