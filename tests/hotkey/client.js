// The same component from JScript: late-bound calls and errors as exceptions.
var failures = 0;
function check(ok, what) {
    WScript.Echo((ok ? "ok: " : "FAIL: ") + what);
    if (!ok) failures++;
}
function errorOf(action) {
    try { action(); } catch (e) { return e; }
    return null;
}

var hk = new ActiveXObject("Tarnkey.HotKey");
hk.KeyCode = 65;
hk.Modifiers = 6;
var id = hk.SetHotKey();
check(id < 0 && id >= -16384, "SetHotKey returns an atom id (" + id + ")");

var e = errorOf(function () { hk.SetHotKey(); });
check(e !== null && e.number === -2147220503, "a second registration is refused");
check(e !== null && e.description === "CTRL+SHIFT+A is already in use by Windows or another program",
      "its description: " + (e && e.description));

e = errorOf(function () { hk.Modifiers = 32; });
check(e !== null && (e.number & 0xFFFF) === 380, "Modifiers 32 raises 380");

hk.Modifiers = 1;
hk.KeyCode = 13;
e = errorOf(function () { hk.SetHotKey(); });
check(e !== null && e.number === -2147220500, "Alt+Enter is reserved");

hk.Modifiers = 3;
var second = hk.SetHotKey();
check(second < 0 && second !== id, "Ctrl+Alt+Enter registers under its own id");
e = errorOf(function () { hk.RemoveHotKey(second); });
check(e === null, "RemoveHotKey by value");
e = errorOf(function () { hk.RemoveHotKey(70000); });
check(e !== null && (e.number & 0xFFFF) === 6, "an id outside 16 bits overflows");
e = errorOf(function () { hk.RemoveAllHotKeys(); });
check(e === null, "RemoveAllHotKeys");
hk = null;
CollectGarbage();
WScript.Quit(failures);
