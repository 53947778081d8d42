' A late-bound client of Tarnkey.HotKey through the system's script host.
' Prints one line per check and exits with the number of failed checks.
Option Explicit
Dim failures, hk, id, again, big
failures = 0

Sub Check(ok, what)
    If ok Then
        WScript.Echo "ok: " & what
    Else
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

Set hk = CreateObject("Tarnkey.HotKey")
Check hk.KeyCode = 0 And hk.Modifiers = 0, "properties start at 0"
hk.KeyCode = 112
hk.Modifiers = 3
Check hk.KeyCode = 112 And hk.Modifiers = 3, "properties keep their values"
id = hk.SetHotKey()
Check id < 0 And id >= -16384, "SetHotKey returns an atom id (" & id & ")"

On Error Resume Next
again = hk.SetHotKey()
Check Err.Number = -2147220503, "a second registration is refused (" & Err.Number & ")"
Check Err.Description = "CTRL+ALT+F1 is already in use by Windows or another program", _
    "its description: " & Err.Description
Err.Clear

hk.Modifiers = 16
Check Err.Number = 380, "Modifiers 16 raises 380 (" & Err.Number & ")"
Check hk.Modifiers = 3, "and keeps the old value"
Err.Clear
hk.Modifiers = 17
Check Err.Number = 0 And hk.Modifiers = 17, "Modifiers 17 is accepted"
Err.Clear

hk.Modifiers = 3
hk.KeyCode = 40
hk.SetHotKey
Check Err.Number = -2147220502, "the Down arrow is not supported (" & Err.Number & ")"
Check Err.Description = "KeyCode or Keycode combination is not supported", Err.Description
Err.Clear

hk.KeyCode = 123
hk.Modifiers = 0
hk.SetHotKey
Check Err.Number = -2147220500, "F12 alone is reserved (" & Err.Number & ")"
Check Err.Description = "Keycode or Keycode combination is reserved by Windows", Err.Description
Err.Clear

hk.RemoveHotKey id
Check Err.Number = 0, "RemoveHotKey by reference (" & Err.Number & ")"
Err.Clear
big = 70000
hk.RemoveHotKey big
Check Err.Number = 6, "an id outside 16 bits overflows (" & Err.Number & ")"
Err.Clear
hk.RemoveAllHotKeys
Check Err.Number = 0, "RemoveAllHotKeys"
On Error GoTo 0

Set hk = Nothing
WScript.Quit failures
