// The page's texts, from the .wxl file next to it (welcome_de.wxl for
// welcome.html in German): String elements whose ids name page elements.

// How long the installer's control may take to read a .wxl file before
// the page gives up and shows itself without texts.
var WIX_LOAD_LIMIT_MS = 3000;

// The texts of urls, each loaded and parsed through the installer
// control's XML document where ActiveX exists, else (or when that fails)
// through XMLHttpRequest. A text id missing from a file is taken from the
// next file that has it. strings holds {id, text}, or null when no file
// could be read (each failure is logged).
function WixFile(urls) {
    var util = require("util");
    var seen = {};
    this.strings = null;
    for (var u = 0; u < urls.length; u++) {
        var strings = WixFile.load(urls[u]);
        if (strings === null) {
            continue;
        }
        this.strings = this.strings || [];
        for (var i = 0; i < strings.length; i++) {
            if (!util.hasOwn(seen, strings[i].id)) {
                seen[strings[i].id] = true;
                this.strings.push(strings[i]);
            }
        }
    }
}

WixFile.load = function (url) {
    var loaders = require("activex").available() ? [WixFile.loadWithMsxml, WixFile.loadWithXhr]
                                                 : [WixFile.loadWithXhr];
    for (var l = 0; l < loaders.length; l++) {
        try {
            return WixFile.readStrings(loaders[l](url));
        } catch (e) {
            require("log").fatal(url + ": xml loading/parsing error - " + require("util").errorText(e));
        }
    }
    return null;
};

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
            // One text that cannot be applied leaves the others in place.
            require("Arrays").each(file.strings, function (s) {
                try {
                    applyString(s.id, s.text, urls);
                } catch (e) {
                    require("log").error("text " + s.id + ": " + require("util").errorText(e));
                }
            });
        }
    } finally {
        root.style.visibility = "visible";
    }
}

// The .wxl files of this page: the host's locale's (complete_pt_BR.wxl),
// then the English one, so that no control is left without a label.
function wixFileUrls() {
    var Filename = require("Filename");
    var urls = [];
    var locales = host.getLocale() === "en" ? ["en"] : [host.getLocale(), "en"];
    for (var i = 0; i < locales.length; i++) {
        urls.push(Filename.sibling(location.href, Filename.stem(location.href) + "_" + locales[i] + ".wxl"));
    }
    return urls;
}
