// The same component from JScript, for what differs from VBScript: errors
// arrive as exceptions carrying the description, and ids go by value.
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
var e = errorOf(function () { hk.SetHotKey(); });
check(e !== null && e.number === -2147220503, "a second registration is refused");
check(e !== null && e.description === "CTRL+SHIFT+A is already in use by Windows or another program",
      "its description: " + (e && e.description));

hk.KeyCode = 66;
var second = hk.SetHotKey();
check(second < 0 && second !== id, "another combination registers under its own id");
e = errorOf(function () { hk.RemoveHotKey(second); });
check(e === null, "RemoveHotKey by value");
hk = null;
CollectGarbage();
WScript.Quit(failures);
