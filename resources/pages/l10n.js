// The page's texts, from the .wxl file next to it (welcome_de.wxl for
// welcome.html in German): String elements whose ids name page elements.

// How long the installer's control may take to read a .wxl file before
// the page gives up and shows itself without texts.
var WIX_LOAD_LIMIT_MS = 3000;

// Loads and parses url; strings holds {id, text} in document order, or
// null when the file could not be loaded or parsed (already logged).
function WixFile(url) {
    var activex = require("activex");
    this.url = url;
    this.strings = null;
    try {
        var doc = activex.available() ? WixFile.loadWithMsxml(url) : WixFile.loadWithXhr(url);
        this.strings = WixFile.readStrings(doc);
    } catch (e) {
        require("log").fatal(url + ": xml loading/parsing error - " + require("util").errorText(e));
    }
}

WixFile.loadWithMsxml = function (url) {
    var util = require("util");
    var doc = require("activex").create("Msxml2.DOMDocument");
    doc.async = true;
    doc.load(url);
    var deadline = util.now() + WIX_LOAD_LIMIT_MS;
    while (doc.readyState != 4) {
        if (util.now() > deadline) {
            throw new Error("not loaded within " + WIX_LOAD_LIMIT_MS / 1000 + " s");
        }
        host.delay(10);
    }
    if (doc.parseError.errorCode != 0) {
        throw new Error(doc.parseError.reason);
    }
    return doc;
};

// Browsers without ActiveX (page tests, a plain browser).
WixFile.loadWithXhr = function (url) {
    var request = new XMLHttpRequest();
    request.open("GET", url, false);
    request.send(null);
    if (request.status != 200 && request.status != 0) {
        throw new Error("HTTP status " + request.status);
    }
    var doc = new DOMParser().parseFromString(request.responseText, "text/xml");
    var errors = doc.getElementsByTagName("parsererror");
    if (errors.length > 0) {
        throw new Error(errors[0].textContent);
    }
    return doc;
};

WixFile.readStrings = function (doc) {
    var strings = [];
    require("Arrays").each(doc.getElementsByTagName("String"), function (node) {
        var text = typeof node.text === "string" ? node.text : node.textContent;
        strings.push({ id: node.getAttribute("Id"), text: text });
    });
    return strings;
};

var ENTITY_AT_START = /^&(#[0-9]+|#x[0-9a-fA-F]+|[a-zA-Z][a-zA-Z0-9]*);/;

// Takes the access key out of a text: the first "&" that is not the last
// character marks the next one, which is underlined. "&&" stands for a
// literal "&", and an "&" that opens a character entity is no marker.
// Returns {html, key}; key is null when the text has no marker.
function markAccessKey(text) {
    var util = require("util");
    var html = "", key = null, inTag = false, i = 0;
    while (i < text.length) {
        var c = text.charAt(i);
        if (c !== "&" || inTag) {
            inTag = c === "<" ? true : (c === ">" ? false : inTag);
            html += c;
            i++;
            continue;
        }
        var entity = ENTITY_AT_START.exec(text.substring(i));
        if (entity) {
            html += entity[0];
            i += entity[0].length;
        } else if (text.charAt(i + 1) === "&") {
            html += "&amp;";
            i += 2;
        } else if (key === null && i + 1 < text.length) {
            key = text.charAt(i + 1);
            html += "<u>" + util.escapeHtml(key) + "</u>";
            i += 2;
        } else {
            html += "&amp;";
            i++;
        }
    }
    return { html: html, key: key };
}

// The target named name in a urls entry: an entry is one target (named
// "_") or a table of named targets. Null when there is none.
function linkTarget(entry, name) {
    if (typeof entry === "string") {
        return name === "_" ? entry : null;
    }
    if (entry && require("util").hasOwn(entry, name)) {
        return entry[name];
    }
    return null;
}

// [label] becomes a link to the entry's target, [#name|label] to its
// named target; a bracketed part without a target stays as it is.
function resolveLinks(html, entry) {
    var util = require("util");
    return html.replace(/\[(?:#([^|\]]*)\|)?([^\]]*)\]/g, function (all, name, label) {
        var target = linkTarget(entry, name || "_");
        return target === null ? all : "<a href=\"" + util.escapeHtml(target) + "\">" + label + "</a>";
    });
}

function applyString(id, text, urls) {
    var element = document.getElementById(id);
    if (element) {
        var marked = markAccessKey(text);
        element.innerHTML = resolveLinks(marked.html, urls[id]);
        if (marked.key !== null) {
            element.accessKey = marked.key;
        }
    } else if (id === "title") {
        document.title = text;
        host.setWindowProp("title", text);
    } else if (id !== "lang") {
        require("log").warning("element[" + id + "] not found");
    }
}

// Puts the file's texts into the page; the root element is hidden while
// that happens and shown again in every case.
function applyWixFile(file, urls) {
    var root = document.getElementById("root");
    root.style.visibility = "hidden";
    try {
        if (file.strings !== null) {
            require("Arrays").each(file.strings, function (s) {
                applyString(s.id, s.text, urls);
            });
        }
    } finally {
        root.style.visibility = "visible";
    }
}

// The .wxl file of this page for the host's locale, e.g. complete_pt_BR.wxl.
function wixFileUrl() {
    var Filename = require("Filename");
    var name = Filename.stem(location.href) + "_" + host.getLocale() + ".wxl";
    return Filename.sibling(location.href, name);
}
