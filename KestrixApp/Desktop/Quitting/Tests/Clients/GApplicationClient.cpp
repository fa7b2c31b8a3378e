// A stand-in GApplication for the quitting tests: registers the application id given as its
// argument on the session bus of $DBUS_SESSION_BUS_ADDRESS, with a "quit" action that quits it,
// and stays until then.
#include <gio/gio.h>

namespace {

void quit(GSimpleAction* /*action*/, GVariant* /*parameter*/, gpointer application) {
    g_application_quit(G_APPLICATION(application));
}

void activate(GApplication* /*application*/, gpointer /*data*/) {}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !g_application_id_is_valid(argv[1])) return 2;
    GApplication* application = g_application_new(argv[1], G_APPLICATION_DEFAULT_FLAGS);
    GSimpleAction* quitAction = g_simple_action_new("quit", nullptr);
    g_signal_connect(quitAction, "activate", G_CALLBACK(quit), application);
    g_action_map_add_action(G_ACTION_MAP(application), G_ACTION(quitAction));
    g_signal_connect(application, "activate", G_CALLBACK(activate), nullptr);
    g_application_hold(application);
    const int status = g_application_run(application, 1, argv);
    g_object_unref(quitAction);
    g_object_unref(application);
    return status;
}
