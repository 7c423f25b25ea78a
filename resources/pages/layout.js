// The frame every page shares: masthead, header, main and footer. A page
// supplies its content in blocks with the ids "header.src", "main.src",
// "footer_left.src" and "footer_right.src", its link targets in the global
// table urls (element id -> target, or -> {name: target}) and its controls'
// events in the global table events (element id -> event name; a check box
// sends its state, 1 or 0, with the event).

var FRAME_PARTS = ["header", "main", "footer_left", "footer_right"];

// True once the load event has run; host calls made later act at once.
var pageLoaded = false;

function buildFrame() {
    function add(parent, tag, id) {
        var element = document.createElement(tag);
        if (id) {
            element.id = id;
        }
        parent.appendChild(element);
        return element;
    }
    var root = add(document.body, "div", "root");
    root.style.visibility = "hidden";
    var masthead = add(root, "div", "masthead");
    add(masthead, "img").src = "masthead_left.png";
    add(root, "div", "header");
    add(root, "div", "main");
    var footer = add(root, "div", "footer");
    add(footer, "div", "footer_left");
    add(footer, "div", "footer_right");
}

function moveSources() {
    require("Arrays").each(FRAME_PARTS, function (part) {
        var source = document.getElementById(part + ".src");
        if (!source) {
            return;
        }
        var target = getElement(part);
        while (source.firstChild) {
            target.appendChild(source.firstChild);
        }
        source.parentNode.removeChild(source);
    });
}

// Links tell the host instead of navigating; the installer opens them in
// the user's browser. The target goes as written: a page's own link names
// such as "manageListLink" must not become addresses of the page's folder
// (flag 2 asks old engines for the attribute's text).
function hookAnchors() {
    require("Arrays").each(document.getElementsByTagName("a"), function (anchor) {
        anchor.onclick = function () {
            host.notify("a", this.getAttribute("href", 2));
            return false;
        };
    });
}

function bindEvents(table) {
    function sender(element, name) {
        return element.type === "checkbox"
            ? function () { host.notify(name, this.checked ? 1 : 0); }
            : function () { host.notify(name); };
    }
    var util = require("util");
    for (var id in table) {
        if (util.hasOwn(table, id)) {
            var element = getElement(id);
            element.onclick = sender(element, table[id]);
        }
    }
}

// The page's primary button is its last one that can take focus.
function focusPrimaryButton() {
    var buttons = document.getElementsByTagName("button");
    for (var i = buttons.length - 1; i >= 0; i--) {
        if (!buttons[i].disabled && isShown(buttons[i])) {
            buttons[i].focus();
            return;
        }
    }
}

// Runs step; a failure is logged and the next step still runs.
function guarded(name, step) {
    try {
        step();
    } catch (e) {
        require("log").error("page layout, " + name + ": " + require("util").errorText(e));
    }
}

// Run by an inline script at the end of each page's body. The controls get
// their events before the texts, so that a failure in the texts never
// leaves a button dead (a page without a close box would wait forever).
function initLayout() {
    guarded("frame", buildFrame);
    guarded("contents", moveSources);
    guarded("events", function () { bindEvents(typeof events === "undefined" ? {} : events); });
    guarded("texts", function () {
        applyWixFile(new WixFile(wixFileUrls()), typeof urls === "undefined" ? {} : urls);
    });
    guarded("links", hookAnchors);
    var root = document.getElementById("root");
    if (root) {
        root.style.visibility = "visible";
    }
}

window.onload = function () {
    pageLoaded = true;
    try {
        focusPrimaryButton();
        if (typeof onPageLoad === "function") {
            onPageLoad();
        }
    } catch (e) {
        require("log").error("page load: " + require("util").errorText(e));
    }
};
