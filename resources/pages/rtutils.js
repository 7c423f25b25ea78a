// Small helpers the pages share.

var VENDOR_SITE = "https://calyx.tolvane.example";

// The element with that id; a missing one is a fault of the page.
function getElement(id) {
    var element = document.getElementById(id);
    if (!element) {
        throw new Error("no element '" + id + "'");
    }
    return element;
}

// A flag from the host: 1 or 0 (as a number or as text).
function flag(v) {
    return !!v && v != "0";
}

// Shows or hides an element, keeping its place.
function setVisible(id, v) {
    getElement(id).style.visibility = flag(v) ? "visible" : "hidden";
}

// Shows an element with the given display ("block", "inline") or removes it
// from the layout.
function setDisplayed(id, v, display) {
    getElement(id).style.display = flag(v) ? display : "none";
}

// Whether an element is rendered and not made invisible by itself or a parent.
function isShown(element) {
    if (element.offsetWidth === 0) {
        return false;
    }
    for (var e = element; e && e.style; e = e.parentNode) {
        var style = e.currentStyle || window.getComputedStyle(e, null);
        if (style.visibility === "hidden") {
            return false;
        }
        if (style.visibility === "visible") {
            return true;
        }
    }
    return true;
}
