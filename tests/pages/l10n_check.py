"""Checks the pages' .wxl texts: ids per page, access keys, links, and that
the resource script carries every file.
Usage: python3 l10n_check.py <resources folder>"""
import os, re, sys
import xml.etree.ElementTree as ET

IDS = {
    'welcome': 'lang title header description personalInfo license changeFolder cancelBtn installBtn',
    'change_folder': 'lang title header description installTo changeFolderBtn backBtn nextBtn',
    'progress': 'lang title statusLbl status',
    'error': 'lang title headerInstall headerUpdate errorCodeFormat helpText helpLink closeBtn',
    'plugin_disabled': 'lang title header description nextBtn',
    'restore_security': 'lang title header description moreInfo restoreCheckbox backBtn nextBtn',
    'complete': 'lang title headerCalyx headerGoogle headerYahoo headerBing sponsorCarbo sponsorMcAfee '
                'sponsorAsk sponsorGeneric noteOnUpdates updateLink securityNote securityLink noteVerify '
                'restartBrowser backBtn closeBtn',
    'calyxscrub': 'lang title headerText description manageListLink uninstallInfo moreInfo laterBtn uninstallBtn',
    'calyxscrub_versions': 'lang title description uninstallInfo moreInfo backBtn nextBtn',
    'calyxscrub_progress': 'lang title statusLbl uninstallStatusFormat completeStatus viewListLink nextBtn',
    'calyxscrub_complete': 'lang title uninstalledVersionsText remainingVersionsText closeBtn',
    'calyxscrub_drs': 'lang title headerText description nextBtn',
}
LOCALES = 'en de es fr it ja ko pt_BR sv zh_CN zh_TW'.split()
CJK = {'ja', 'ko', 'zh_CN', 'zh_TW'}
LABELS = {'cancelBtn', 'installBtn', 'changeFolder', 'changeFolderBtn', 'backBtn', 'nextBtn',
          'closeBtn', 'restoreCheckbox', 'restartBrowser', 'laterBtn', 'uninstallBtn'}
LINKS = {'personalInfo', 'license', 'updateLink', 'securityLink', 'helpLink', 'moreInfo', 'manageListLink',
         'viewListLink'}
NS = '{http://schemas.microsoft.com/wix/2006/localization}'
# "&&" is a literal ampersand and "&name;" an entity; any other "&" marks the key.
MARKER = re.compile(r'&&|&#?\w+;|&(.?)', re.S)

root = sys.argv[1]
carried = set(re.findall(r'^(\S+\.wxl) HTML "pages/\1"$',
                         open(os.path.join(root, 'pages_l10n.rc'), encoding='utf-8').read(), re.M))
faults = []
english = {}
for page, ids in IDS.items():
    for loc in LOCALES:
        name = f'{page}_{loc}.wxl'
        fault = lambda what: faults.append(f'{name}: {what}')
        if name not in carried:
            fault('not listed in pages_l10n.rc')
        try:
            doc = ET.parse(os.path.join(root, 'pages', name)).getroot()
        except (OSError, ET.ParseError) as e:
            fault(e)
            continue
        texts = {s.get('Id'): s.text or '' for s in doc.iter(NS + 'String')}
        if doc.tag != NS + 'WixLocalization' or [s.get('Id') for s in doc] != ids.split():
            fault('ids differ from: ' + ids)
            continue
        keys = []
        for id in texts:
            marks = [m for m in MARKER.finditer(texts[id]) if m.group(1) is not None]
            if id not in LABELS:
                if marks:
                    fault(f'{id} would lose its "&" to an access key: {texts[id]!r}')
                continue
            if len(marks) != 1 or not marks[0].group(1).strip():
                fault(f'{id} needs one access key: {texts[id]!r}')
                continue
            keys.append(marks[0].group(1).lower())
            if loc in CJK and not re.search(r'\(&[A-Z]\)$', texts[id]):
                fault(f'{id} wants "(&X)" at its end: {texts[id]!r}')
            if loc not in CJK and id == 'installBtn' and marks[0].start() != 0:
                fault(f'installBtn wants its key on the first letter: {texts[id]!r}')
        if len(keys) != len(set(keys)):
            fault(f'access keys repeat: {keys}')
        for id in LINKS & set(texts):
            if len(re.findall(r'\[[^\[\]]+\]', texts[id])) != 1 or texts[id].count('[') != 1:
                fault(f'{id} needs one [link]: {texts[id]!r}')
        if 'errorCodeFormat' in texts and '%1' not in texts['errorCodeFormat']:
            fault('errorCodeFormat lacks %1')
        for mark in ('%CXR_NAME%', '%NUM%', '%TOTAL%'):
            if mark not in texts.get('uninstallStatusFormat', mark):
                fault(f'uninstallStatusFormat lacks {mark}')
        if texts['lang'] != loc:
            fault(f'lang is {texts["lang"]!r}')
        english = texts if loc == 'en' else english
        for id in set(texts) - {'lang'}:
            if loc != 'en' and texts[id] == english.get(id) and len(texts[id].split()) > 2:
                fault(f'{id} is left in English')
for name in sorted(carried - {f'{p}_{l}.wxl' for p in IDS for l in LOCALES}):
    faults.append(f'pages_l10n.rc lists {name}, which is no page text')
print('\n'.join(faults) or f'ok: {len(IDS) * len(LOCALES)} .wxl files')
sys.exit(1 if faults else 0)
