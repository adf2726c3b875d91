#include "HelpGuide.h"

namespace quillmar::skingen {

std::string helpGuide(std::string_view version) {
    std::string page = R"HTML(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Quillmar Gaming Keyboard Settings - User Guide</title>
<style>
body { font-family: "DejaVu Sans", "Segoe UI", sans-serif; max-width: 820px; margin: 0 auto; padding: 0 24px 48px;
       color: #e8ebf0; background: #111318; line-height: 1.55; }
header { border-bottom: 2px solid #1fc8ff; padding: 24px 0 12px; margin-bottom: 8px; }
h1 { margin: 0; letter-spacing: 2px; }
h1 span { color: #1fc8ff; }
h2 { margin-top: 2em; color: #1fc8ff; border-bottom: 1px solid #2a2e36; padding-bottom: 4px; }
a { color: #1fc8ff; }
nav ol { columns: 2; }
code, kbd { background: #22252c; border: 1px solid #3b414c; border-radius: 4px; padding: 0 .35em; }
.note { background: #1b1e24; border-left: 4px solid #ff9a2e; padding: 8px 14px; }
table { border-collapse: collapse; width: 100%; }
td, th { border: 1px solid #2a2e36; padding: 4px 8px; text-align: left; }
</style>
</head>
<body>
<header>
<h1><span>QUILLMAR</span> Gaming Keyboard Settings</h1>
<p>User guide for version @VERSION@</p>
</header>

<nav><ol>
<li><a href="#start">Getting started</a></li>
<li><a href="#window">The main window</a></li>
<li><a href="#remap">Giving a key another function</a></li>
<li><a href="#macros">Macros</a></li>
<li><a href="#recording">Recording a macro</a></li>
<li><a href="#gkeys">G-keys and the A/B bank</a></li>
<li><a href="#lighting">Lighting</a></li>
<li><a href="#perkey">Per-key colours</a></li>
<li><a href="#colourkeys">Colour keys mode</a></li>
<li><a href="#profiles">Profiles</a></li>
<li><a href="#rate">Polling rate</a></li>
<li><a href="#files">Import and export</a></li>
<li><a href="#defaults">Restoring the defaults</a></li>
<li><a href="#tray">The tray icon</a></li>
<li><a href="#trouble">Troubleshooting</a></li>
</ol></nav>

<h2 id="start">Getting started</h2>
<p>Plug the keyboard in and start <b>Quillmar</b> from your desktop's menu (it also starts with your session).
The program lives in the notification area: a click on its tray icon opens the settings window as soon as a
keyboard is connected. Everything you set is stored in the keyboard itself, so it keeps working on any
computer, even without this program.</p>
<p>Key assignments and macros are collected until you press <b>Apply</b>; lighting and the polling rate are
sent to the keyboard the moment you change them.</p>

<h2 id="window">The main window</h2>
<table>
<tr><th>Area</th><th>What it does</th></tr>
<tr><td>Profile 1 / 2 / 3</td><td>Switch between the keyboard's three on-board profiles.</td></tr>
<tr><td>Profile name</td><td>Opens the profile list, where you make a profile active.</td></tr>
<tr><td>Edit macros...</td><td>Opens the macro editor (the same as clicking G9).</td></tr>
<tr><td>Switch</td><td>Changes between the function keys mode and the colour keys mode.</td></tr>
<tr><td>On-screen keyboard</td><td>Click any key or G-key to change what it does. Keys with a changed function
show an orange legend.</td></tr>
<tr><td>Lighting panel</td><td>The lamp button opens it: effect, brightness, speed, direction and colours.</td></tr>
<tr><td>Polling rate</td><td>125, 250, 500 or 1000 reports per second.</td></tr>
<tr><td>OK / Cancel / Apply</td><td>Apply sends your key changes to the keyboard; OK applies and hides the window;
Cancel hides it.</td></tr>
</table>
<p>The <b>?</b> button opens this guide, the menu button offers Import, Export, About and Close. The arrows beside
<b>F1-F4</b> turn the top row between the F1&ndash;F4 keys and the extra keys D1&ndash;D6.</p>

<h2 id="remap">Giving a key another function</h2>
<ol>
<li>Click the key on the on-screen keyboard. The key editor opens beside it.</li>
<li>Choose a tab:
<ul>
<li><b>Single key</b> &ndash; press the key it should send (modifiers such as Ctrl, Shift and Win work too).</li>
<li><b>Macro</b> &ndash; pick a macro from the list, or make a new one.</li>
<li><b>Multimedia</b> &ndash; play/pause, volume, mute, browser keys, calculator, e-mail and more.</li>
<li><b>Function</b> &ndash; Open, New, Undo, Save, Copy, Cut, Paste, Find, Select All, Zoom&minus; and Zoom+.</li>
</ul></li>
<li>Press <b>OK</b>, then <b>Apply</b> in the main window to send the change to the keyboard.</li>
</ol>
<p>The reset button (circular arrow) next to the tabs gives the key back its own function.
The keyboard button next to it opens an on-screen keyboard for keys your keyboard does not have.
Hover over a key in the main window to see what it is set to.</p>

<h2 id="macros">Macros</h2>
<p>A macro is a named list of key presses and releases with the time between them, played by the keyboard.
On the <b>Macro</b> tab:</p>
<ul>
<li><b>+</b> adds a macro, <b>&minus;</b> deletes the one shown (you are asked first when keys use it).
Type in the name box to rename it.</li>
<li>The action list shows each step: the key, press (&darr;) or release (&uarr;), and the delay in milliseconds.
Double-click a cell to change the key, the direction or the delay (up to 40000&nbsp;ms, in steps of 10&nbsp;ms).</li>
<li><b>Delete</b>, <b>Clear</b>, <b>To top</b>, <b>Up</b>, <b>Down</b> and <b>To bottom</b> edit the list.</li>
<li><b>Cycles</b> is how many times the macro plays (1 to 255).</li>
</ul>
<p>A keyboard holds up to 100 macros. If they do not fit in its memory, Apply tells you; remove a few actions
or macros and apply again.</p>

<h2 id="recording">Recording a macro</h2>
<ol>
<li>Select or add a macro and press <b>Record</b>.</li>
<li>Type the keys. Each press and release is added to the action list.</li>
<li>Press <b>Stop recording</b>.</li>
</ol>
<p>With <b>Record delays</b> ticked the real pauses between your keys are kept; without it every step gets a
delay of 0 ms, so the keyboard plays them as fast as it can. Media keys are not recorded.</p>

<h2 id="gkeys">G-keys and the A/B bank</h2>
<p>The nine G-keys at the left can be given any function, just like other keys. The keyboard's bank key switches
between bank A and bank B, so G1&ndash;G9 carry two sets of functions; the <b>A B</b> indicator shows the bank in use
and the G-keys you click edit that bank. G9 always plays a macro.</p>

<h2 id="lighting">Lighting</h2>
<p>Click the lamp button to open the lighting panel. While it is open the on-screen keyboard shows a preview of
the effect.</p>
<ul>
<li><b>Lighting effect</b> &ndash; waves, breathing, static, reactive, ripples, rain, rings and more; the list shows
the effects your keyboard offers.</li>
<li><b>Brightness</b> and <b>Speed</b> &ndash; five steps each.</li>
<li><b>Direction</b> &ndash; left/right, up/down or spread/gather, for the effects that move.</li>
<li><b>Colour</b> &ndash; choose one colour, or tick <b>Multicolour</b> for the rainbow version.</li>
<li><b>Preset colour</b> effect &ndash; pick red, yellow, green or blue.</li>
</ul>
<p>Lighting changes reach the keyboard at once; there is no need to press Apply. Close the panel with the lamp
button to go back to editing keys.</p>

<h2 id="perkey">Per-key colours</h2>
<p>Choose the effect <b>Custom Key Colours</b> in the lighting panel. Then:</p>
<ol>
<li>Pick one of the ten colour schemes in the scheme list (you can type a new name over it).</li>
<li>Choose the paint <b>Colour</b> and the <b>Base colour</b>.</li>
<li>Select the brush and click keys to paint them; select the eraser and click keys to give them the base colour.</li>
</ol>
<p>Changing the base colour recolours every key that shows it, and leaves painted keys alone. Each profile keeps its
own schemes in <code>~/Documents/Gaming Keyboard/UserDengColor_0.userd</code> to <code>_2.userd</code>.</p>

<h2 id="colourkeys">Colour keys mode</h2>
<p>The <b>Switch</b> button turns on the colour keys mode: clicking a key then marks or unmarks it (marked keys
light up blue) instead of opening the key editor. Press Switch again to return to the function keys mode;
press Apply to keep the marks.</p>

<h2 id="profiles">Profiles</h2>
<p>The keyboard stores three complete profiles (keys, macros, lighting and polling rate). Click <b>Profile 1</b>,
<b>2</b> or <b>3</b> to switch the keyboard to it; if you have unapplied changes you are asked whether to keep them.
Switching stops a macro that is playing. The profile list (the button with the profile name) does the same and
can create new profile files.</p>

<h2 id="rate">Polling rate</h2>
<p>The polling rate is how often the keyboard reports to the computer: 125, 250, 500 or 1000 times per second.
1000&nbsp;Hz gives the lowest delay; choose a lower rate if a game or an older computer has trouble with it.
Each profile keeps its own rate, and the change is immediate.</p>

<h2 id="files">Import and export</h2>
<p>From the menu button: <b>Export...</b> saves all key assignments and macros to a <code>.kbp</code> file,
<b>Import...</b> loads such a file into the window (press Apply to send it to the keyboard). A damaged file is
refused with a message and nothing changes.</p>

<h2 id="defaults">Restoring the defaults</h2>
<p><b>Restore defaults</b> gives every key its own function again and applies it. With the lighting panel open it
also restores the default lighting and the current profile's per-key colours. You are asked first.</p>

<h2 id="tray">The tray icon</h2>
<table>
<tr><th>Icon</th><th>Meaning</th></tr>
<tr><td>Grey, crossed out</td><td>No keyboard connected.</td></tr>
<tr><td>Coloured</td><td>The keyboard is connected.</td></tr>
<tr><td>Coloured with an orange dot</td><td>The keyboard reports its indicator state (for example its lock mode).</td></tr>
</table>
<p>Double-click the icon to open the window; right-click it for <b>Open</b>, <b>About</b> and <b>Exit</b>.
Closing the window only hides it; <b>Exit</b> ends the program.</p>

<h2 id="trouble">Troubleshooting</h2>
<p><b>"No keyboard found"</b>, <b>"The keyboard is connected, but you may not use it"</b> or the window does
not open: ask the doctor in a terminal:</p>
<pre><code>quillmarctl doctor</code></pre>
<p>It lists every Quillmar keyboard with its interfaces, tells whether you may open them and why (owner,
permissions, the access rule's tag), checks that the access rule (<code>70-quillmar.rules</code>) is installed
and that you are logged in at this computer's screen (not over ssh, not switched to another user with su), and
prints the commands that fix what is missing. A keyboard that was plugged in before the rule was installed gets
it without a replug with</p>
<pre><code>sudo udevadm trigger --subsystem-match=hidraw --action=change</code></pre>
<p>and the program takes the keyboard up within a second, without a restart.</p>
<ul>
<li><code>quillmarctl info</code> shows the active profile, the macro memory and the lighting effects the keyboard
reports; <code>quillmarctl profile 2</code> switches profiles from the command line.</li>
<li>Changes to keys do nothing? Press <b>Apply</b> &ndash; key changes are sent only then.</li>
<li>A macro is refused as too long: remove actions or macros; the keyboard's memory is limited.</li>
<li>The key editor cannot be opened while you switch profiles: close it first.</li>
<li>Your settings files live in <code>~/Documents/Gaming Keyboard/</code>; deleting that folder makes the program
create fresh ones.</li>
</ul>
<p class="note">Everything you set is kept in the keyboard. If something looks wrong on screen, unplug and
re-plug the keyboard: the program reads it back completely.</p>
</body>
</html>
)HTML";
    const std::string marker = "@VERSION@";
    page.replace(page.find(marker), marker.size(), version);
    return page;
}

}  // namespace quillmar::skingen
