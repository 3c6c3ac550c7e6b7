// The screen checks' extension: the shell starts in its overview with the top bar over the
// desktop; once start-up completes, this shows the bare desktop (and keeps the top bar hidden)
// and writes
// $XDG_RUNTIME_DIR/murelin-shell-ready for the test to wait on.
const { GLib } = imports.gi;
const Main = imports.ui.main;

let startupId = 0;
let hiddenId = 0;
let visibleId = 0;

function ready() {
    // the shell shows the top bar again when the monitors change
    const panelBox = Main.layoutManager.panelBox;
    panelBox.hide();
    visibleId = panelBox.connect('notify::visible', () => {
        if (panelBox.visible)
            panelBox.hide();
    });
    const path = GLib.build_filenamev([GLib.get_user_runtime_dir(), 'murelin-shell-ready']);
    GLib.file_set_contents(path, '');
}

function bare() {
    if (!Main.overview.visible) {
        ready();
        return;
    }
    // the overview shows the top bar again as it leaves: hide it once the overview is gone
    hiddenId = Main.overview.connect('hidden', () => {
        Main.overview.disconnect(hiddenId);
        hiddenId = 0;
        ready();
    });
    Main.overview.hide();
}

function init() {}

function enable() {
    if (Main.layoutManager._startingUp)
        startupId = Main.layoutManager.connect('startup-complete', bare);
    else
        bare();
}

function disable() {
    if (startupId)
        Main.layoutManager.disconnect(startupId);
    if (hiddenId)
        Main.overview.disconnect(hiddenId);
    if (visibleId)
        Main.layoutManager.panelBox.disconnect(visibleId);
    startupId = hiddenId = visibleId = 0;
    Main.layoutManager.panelBox.show();
}
